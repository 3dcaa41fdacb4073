#pragma once

#include <QDialog>

namespace kestrix::app {

// The About window: a splash at start-up (no frame, closes when the user
// starts working) or, from the Help menu, a box with an OK button.
class AboutWindow final : public QDialog
{
    Q_OBJECT

public:
    AboutWindow(bool fromMenu, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_fromMenu;
};

} // namespace kestrix::app
