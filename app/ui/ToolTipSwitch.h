#pragma once

#include <QObject>

namespace kestrix::app {

// Swallows tool-tip events while tool tips are switched off ("No Tool Tips").
class ToolTipSwitch final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    void setToolTipsOff(bool off) { m_off = off; }
    bool toolTipsOff() const { return m_off; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_off = false;
};

} // namespace kestrix::app
