#include "app/cli/ConsoleDialogs.h"

#include "runtime/TextCodec.h"

#include <ostream>

namespace kestrix::app {

ConsoleDialogs::ConsoleDialogs(std::ostream& out) : m_out(out) {}

unsigned ConsoleDialogs::message(const runtime::MessageRequest& request)
{
    m_out << runtime::cp1252ToUtf8(request.caption) << ": "
          << runtime::cp1252ToUtf8(runtime::messageLines(request.text)) << '\n';
    return runtime::effectiveDefault(request);
}

} // namespace kestrix::app
