#pragma once

#include "app/FindAnything.h"

#include <string>
#include <vector>

namespace kestrix::config {
class Session;
}
namespace kestrix::runtime {
class KeyedFile;
}
namespace kestrix::utilities {
class CodeLibrary;
struct ErrorEntry;
} // namespace kestrix::utilities

// What the search across tools reads: the program's data files, the keycode
// table and the frame's tools. Each source reads once, when it is loaded.
namespace kestrix::app {

// The tools' procedures and the names they are offered under ("Equate Helper").
struct ToolName final
{
    std::string procedure;
    std::string name;
};

// The equates by full name, value and hex; the types' own marker records are left out.
class EquateFindSource final : public FindSource
{
public:
    explicit EquateFindSource(runtime::KeyedFile& equates) : m_equates(equates) {}
    FindKind kind() const override { return FindKind::Equate; }
    std::vector<FindEntry> entries() override;

private:
    runtime::KeyedFile& m_equates;
};

// The saved messages by description, caption and text; the template every new message starts from is left
// out.
class MessageFindSource final : public FindSource
{
public:
    explicit MessageFindSource(runtime::KeyedFile& messages) : m_messages(messages) {}
    FindKind kind() const override { return FindKind::Message; }
    std::vector<FindEntry> entries() override;

private:
    runtime::KeyedFile& m_messages;
};

// The snippets by name, type and code.
class SnippetFindSource final : public FindSource
{
public:
    explicit SnippetFindSource(utilities::CodeLibrary& library) : m_library(library) {}
    FindKind kind() const override { return FindKind::Snippet; }
    std::vector<FindEntry> entries() override;

private:
    utilities::CodeLibrary& m_library;
};

// The run-time errors by number, equate and description.
class ErrorFindSource final : public FindSource
{
public:
    explicit ErrorFindSource(const std::vector<utilities::ErrorEntry>& errors) : m_errors(errors) {}
    FindKind kind() const override { return FindKind::Error; }
    std::vector<FindEntry> entries() override;

private:
    const std::vector<utilities::ErrorEntry>& m_errors;
};

// The key names of the keycode table and their codes.
class KeycodeFindSource final : public FindSource
{
public:
    FindKind kind() const override { return FindKind::Keycode; }
    std::vector<FindEntry> entries() override;
};

class ToolFindSource final : public FindSource
{
public:
    explicit ToolFindSource(std::vector<ToolName> tools) : m_tools(std::move(tools)) {}
    FindKind kind() const override { return FindKind::Tool; }
    std::vector<FindEntry> entries() override;

private:
    std::vector<ToolName> m_tools;
};

// The menu text of a tool as its name: without the '&' marks and a trailing "...".
std::string toolNameOf(const std::string& menuText);

// Loads every source over the session's data files and `tools`. A file that cannot be used leaves
// its kind out after the dialogs said why; the others still load.
void loadFindSources(FindAnything& find, config::Session& session, const std::vector<ToolName>& tools);

} // namespace kestrix::app
