#include "runtime/ui/CachedTextDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <optional>

using namespace kestrix::runtime;

namespace {

struct Ink
{
    int left = 0;
    int right = 0;
};

// The horizontal extent of everything painted in `area` that is not the list's background.
std::optional<Ink> inkIn(const QImage& image, const QRect& area, QRgb background)
{
    std::optional<Ink> ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == background)
                continue;
            if (!ink)
                ink = Ink{x, x};
            ink->left = std::min(ink->left, x);
            ink->right = std::max(ink->right, x);
        }
    }
    return ink;
}

} // namespace

class CachedTextDelegateTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_model = new QStandardItemModel(3, 3, this);
        m_view = new QTableView;
        m_view->setModel(m_model);
        m_view->setShowGrid(false);
        m_view->verticalHeader()->hide();
        m_view->horizontalHeader()->hide();
        m_view->setItemDelegate(m_delegate = new CachedTextDelegate(m_view));
        m_view->resize(400, 200);
        for (int c = 0; c < 3; ++c)
            m_view->setColumnWidth(c, 120);
    }
    void cleanup()
    {
        delete m_view;
        delete m_model;
    }

    void aTextTooWideForItsColumnIsElidedInsideIt()
    {
        m_model->setItem(0, 0,
                         new QStandardItem(QStringLiteral("A_VERY_LONG_EQUATE_NAME_THAT_CANNOT_FIT_AT_ALL")));
        m_view->setColumnWidth(0, 60);
        const QImage image = m_view->viewport()->grab().toImage();
        const QRect cell = m_view->visualRect(m_model->index(0, 0));
        const QRect next = m_view->visualRect(m_model->index(0, 1));
        const QRgb background = image.pixel(next.center());
        QVERIFY(inkIn(image, cell, background));
        QVERIFY2(!inkIn(image, next, background), "the long text ran into the next column");
    }

    void rightAlignedTextEndsAtTheColumnsRightEdge()
    {
        auto* number = new QStandardItem(QStringLiteral("42"));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_model->setItem(1, 1, number);
        m_model->setItem(1, 2, new QStandardItem(QStringLiteral("42")));
        const QImage image = m_view->viewport()->grab().toImage();
        const QRect right = m_view->visualRect(m_model->index(1, 1));
        const QRect left = m_view->visualRect(m_model->index(1, 2));
        const QRgb background = image.pixel(m_view->visualRect(m_model->index(2, 0)).center());
        const std::optional<Ink> r = inkIn(image, right, background);
        const std::optional<Ink> l = inkIn(image, left, background);
        QVERIFY(r && l);
        QVERIFY2(right.right() - r->right < 8, "right-aligned text does not reach the right edge");
        QVERIFY2(l->left - left.left() < 8, "left-aligned text does not start at the left edge");
        QCOMPARE(r->right - r->left, l->right - l->left); // the same text, laid out the same
    }

    void selectedRowsUseTheHighlightedTextColour()
    {
        m_model->setItem(0, 0, new QStandardItem(QStringLiteral("MMMM")));
        m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view->selectRow(0);
        const QImage image = m_view->viewport()->grab().toImage();
        const QRect cell = m_view->visualRect(m_model->index(0, 0));
        const QPalette palette = m_view->palette();
        // The glyphs lean from the highlight towards the highlighted-text colour, not the ordinary one.
        const int background = image.pixelColor(cell.left() + 1, cell.top() + 1).lightness();
        const int wanted = palette.color(QPalette::HighlightedText).lightness() - background;
        const int ordinary = palette.color(QPalette::Text).lightness() - background;
        QVERIFY2((wanted > 0) != (ordinary > 0), "this style's colours cannot tell the two apart");
        int strongest = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const int d = image.pixelColor(x, y).lightness() - background;
                if (std::abs(d) > std::abs(strongest))
                    strongest = d;
            }
        }
        QVERIFY2(std::abs(strongest) > 40, "no text painted in the selected cell");
        QVERIFY2((strongest > 0) == (wanted > 0), "selected text painted in the ordinary text colour");
    }

    void aTextIsLaidOutOnceForEveryPaintAndAgainForANewFont()
    {
        m_model->setItem(0, 0, new QStandardItem(QStringLiteral("ONE")));
        m_model->setItem(1, 0, new QStandardItem(QStringLiteral("TWO")));
        m_model->setItem(2, 0, new QStandardItem(QStringLiteral("ONE")));
        m_view->viewport()->grab();
        QCOMPARE(m_delegate->cachedTexts(), 2);
        m_view->viewport()->grab();
        QCOMPARE(m_delegate->cachedTexts(), 2);
        const QImage before = m_view->viewport()->grab().toImage();
        QFont bigger = m_view->font();
        bigger.setPointSize(bigger.pointSize() * 2);
        m_view->setFont(bigger);
        m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(bigger).height() + 4);
        const QImage after = m_view->viewport()->grab().toImage();
        QCOMPARE(m_delegate->cachedTexts(), 2);
        QVERIFY2(before != after, "a new font painted the old layout");
    }

private:
    QStandardItemModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    CachedTextDelegate* m_delegate = nullptr;
};

QTEST_MAIN(CachedTextDelegateTest)
#include "CachedTextDelegateTest.moc"
