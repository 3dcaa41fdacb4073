#include "clipboard/QueueFile.h"

#include "clipboard/ClipboardQueue.h"
#include "runtime/AtomicFile.h"

#include <charconv>
#include <fstream>

namespace kestrix::clipboard {

namespace {
constexpr std::string_view Header = "KTXCLIPQUEUE 1\n";
} // namespace

std::string queueFileText(const std::vector<std::string>& lines)
{
    std::string text(Header);
    for (const std::string& line : lines)
        text += std::to_string(line.size()) + "\n" + line + "\n";
    return text;
}

QueueFileRead parseQueueFile(std::string_view bytes)
{
    QueueFileRead read;
    if (bytes.substr(0, Header.size()) != Header) {
        read.problem = "The saved clipboard queue is not in the form this program writes; it was not read.";
        return read;
    }
    std::size_t at = Header.size();
    while (at < bytes.size()) {
        const std::size_t end = bytes.find('\n', at);
        std::size_t length = 0;
        const auto count = end == std::string_view::npos
                               ? std::from_chars_result{bytes.data() + at, std::errc::invalid_argument}
                               : std::from_chars(bytes.data() + at, bytes.data() + end, length);
        const bool whole = count.ec == std::errc() && count.ptr == bytes.data() + end && end > at &&
                           length <= MaxLineLength && end + 1 + length < bytes.size() &&
                           bytes[end + 1 + length] == '\n';
        if (!whole) {
            read.problem = "The saved clipboard queue is damaged after line " +
                           std::to_string(read.lines.size()) + "; only the lines before it were read.";
            return read;
        }
        read.lines.emplace_back(bytes.substr(end + 1, length));
        at = end + 1 + length + 1;
    }
    return read;
}

runtime::FileError saveQueueFile(const std::filesystem::path& file, const std::vector<std::string>& lines)
{
    return runtime::writeFileAtomically(file, queueFileText(lines));
}

QueueFileRead loadQueueFile(const std::filesystem::path& file)
{
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        QueueFileRead read;
        read.problem = "The saved clipboard queue " + file.string() + " could not be read.";
        return read;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return parseQueueFile(bytes);
}

} // namespace kestrix::clipboard
