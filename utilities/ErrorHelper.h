#pragma once

#include "utilities/ErrorList.h"

#include <optional>
#include <string>
#include <vector>

// The Error Helper's logic: the category tree, the errors of the chosen
// category, the chosen errors in ascending order, and the CASE ERRORCODE()
// block written for them.
namespace kestrix::utilities {

struct ErrorCaseOptions final
{
    bool ofNoError = false; // " OF No Error"
    bool elseStop = false;  // " ELSE  STOP(Error())"
    bool errorFile = false; // " & ErrorFile()"
    bool fileError = false; // " & FileError()"
};

// The block's lines; the line for error 90's STOP holds a CR LF of its own.
std::vector<std::string> errorCaseCode(const std::vector<ErrorEntry>& chosen, const ErrorCaseOptions& options,
                                       bool endComment);

// The IDE's help on error codes: "C5Help.HLP" in the BIN folder under the Clarion root.
std::string errorHelpFile(const std::string& clarionRoot);

struct CategoryTreeEntry final
{
    std::string name;
    int level = 1;
    bool contracted = false; // its entries below start hidden
};

class ErrorHelper final
{
public:
    ErrorHelper(std::vector<ErrorEntry> errors, std::vector<ErrorCategory> categories);

    // The category records in file order, then "All".
    const std::vector<CategoryTreeEntry>& categoryTree() const { return m_tree; }
    // Lists the errors of a tree entry; the first is chosen at the start.
    void chooseCategory(std::size_t treeIndex);
    std::size_t chosenCategory() const { return m_category; }
    std::string heading() const;
    const std::vector<ErrorEntry>& listed() const { return m_listed; }

    // The chosen errors stay in ascending order of code, each once. Nothing when the code is unknown.
    bool add(int code);
    void addAllListed();
    void remove(int code);
    void removeAll() { m_chosen.clear(); }
    const std::vector<ErrorEntry>& chosen() const { return m_chosen; }

    const ErrorEntry* find(int code) const;
    std::string notes(int code) const;

    ErrorCaseOptions options;
    std::vector<std::string> generate(bool endComment) const;

private:
    std::vector<ErrorEntry> m_errors; // by code
    std::vector<ErrorCategory> m_categories;
    std::vector<CategoryTreeEntry> m_tree;
    std::size_t m_category = 0;
    std::vector<ErrorEntry> m_listed;
    std::vector<ErrorEntry> m_chosen;
};

} // namespace kestrix::utilities
