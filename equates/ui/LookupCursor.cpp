#include "equates/ui/LookupCursor.h"

namespace kestrix::equates {

QCursor lookupCursor(StockCursor cursor)
{
    switch (cursor) {
    case StockCursor::Arrow:
        return Qt::ArrowCursor;
    case StockCursor::IBeam:
        return Qt::IBeamCursor;
    case StockCursor::Wait:
        return Qt::WaitCursor;
    case StockCursor::Cross:
        return Qt::CrossCursor;
    case StockCursor::UpArrow:
        return Qt::UpArrowCursor;
    case StockCursor::Size:
        return Qt::SizeAllCursor;
    case StockCursor::Icon:
        return Qt::DragMoveCursor; // the old icon cursor: the nearest shape Qt has
    case StockCursor::SizeNWSE:
        return Qt::SizeFDiagCursor;
    case StockCursor::SizeNESW:
        return Qt::SizeBDiagCursor;
    case StockCursor::SizeWE:
        return Qt::SizeHorCursor;
    case StockCursor::SizeNS:
        return Qt::SizeVerCursor;
    }
    return Qt::ArrowCursor;
}

} // namespace kestrix::equates
