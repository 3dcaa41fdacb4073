#pragma once

#include "config/Session.h"
#include "runtime/ui/ToolWindow.h"
#include "utilities/CodeLibrary.h"

#include <functional>
#include <memory>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace kestrix::runtime {
class FilterBox;
}

namespace kestrix::utilities {

// "Code Library": the types, the snippets of the chosen type and its code;
// copies a snippet out with its merge tokens filled in.
class CodeStoreBrowse final : public runtime::ToolWindow
{
    Q_OBJECT

public:
    CodeStoreBrowse(config::Session& session, runtime::KeyedFile& snippets, runtime::KeyedFile& types,
                    QWidget* parent = nullptr);

    QTreeWidget* typeList() const { return m_types; }
    QTreeWidget* snippetList() const { return m_snippets; }
    QPlainTextEdit* sourceBox() const { return m_source; }
    CodeLibrary& library() { return m_library; }

    // Asks for the merge values (nullopt: cancelled); tests answer it without a dialog.
    using MergeAsk = std::function<std::optional<std::vector<MergeToken>>(const std::vector<MergeToken>&)>;
    void setMergeAsk(MergeAsk ask) { m_mergeAsk = std::move(ask); }
    // "&To Clip" (and the minimising variant): true when the code went out.
    bool copyToClipboard(bool thenMinimize);
    void reloadTypes();
    // Selects the snippet named `request.subKey` of the type `request.key`.
    bool showItem(const runtime::ShowRequest& request) override;

private:
    void reloadSnippets();
    void showSource();
    std::string currentType() const;
    const runtime::Record* currentSnippet() const;
    void editType(bool adding);
    void deleteType();
    void editSnippet(bool adding);
    void deleteSnippet();
    void selectType(const std::string& type);

    config::Session& m_session;
    CodeLibrary m_library;
    MergeAsk m_mergeAsk;
    std::vector<std::string> m_typeRows;
    std::vector<runtime::Record> m_snippetRows;
    QTreeWidget* m_types = nullptr;
    QTreeWidget* m_snippets = nullptr;
    runtime::FilterBox* m_filter = nullptr;
    QPlainTextEdit* m_source = nullptr;
};

} // namespace kestrix::utilities
