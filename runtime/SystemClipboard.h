#pragma once

#include <string>

// The system clipboard's text, in the program's Windows-1252 form.
namespace kestrix::runtime {

class SystemClipboard
{
public:
    virtual ~SystemClipboard() = default;
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() const = 0;
};

// A clipboard that lives only in this process: for the command line and tests.
class MemoryClipboard final : public SystemClipboard
{
public:
    void setText(const std::string& text) override { m_text = text; }
    std::string text() const override { return m_text; }

private:
    std::string m_text;
};

} // namespace kestrix::runtime
