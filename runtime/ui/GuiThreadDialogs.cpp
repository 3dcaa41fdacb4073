#include "runtime/ui/GuiThreadDialogs.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace kestrix::runtime {

template <class F> auto GuiThreadDialogs::onGui(F&& work) -> decltype(work())
{
    if (QThread::currentThread() == m_gui->thread())
        return work();
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(
            m_gui, [&] { work(); }, Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            m_gui, [&] { result = work(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

unsigned GuiThreadDialogs::message(const MessageRequest& request)
{
    return onGui([&] { return m_target.message(request); });
}

std::optional<std::string> GuiThreadDialogs::openFile(const FileDialogRequest& request)
{
    return onGui([&] { return m_target.openFile(request); });
}

std::vector<std::string> GuiThreadDialogs::openFiles(const FileDialogRequest& request)
{
    return onGui([&] { return m_target.openFiles(request); });
}

std::optional<std::string> GuiThreadDialogs::chooseDirectory(const std::string& title,
                                                             const std::string& start)
{
    return onGui([&] { return m_target.chooseDirectory(title, start); });
}

std::optional<FontSpec> GuiThreadDialogs::chooseFont(const std::string& title, const FontSpec& start)
{
    return onGui([&] { return m_target.chooseFont(title, start); });
}

void GuiThreadDialogs::beep()
{
    onGui([&] { m_target.beep(); });
}

void GuiThreadDialogs::playSound(SystemSound sound)
{
    onGui([&] { m_target.playSound(sound); });
}

} // namespace kestrix::runtime
