#pragma once

#include <string>

class QWidget;

namespace kestrix::config {
class Session;
}

// The frame's File menu commands that export the user's snippets, messages and
// inserts to a JSON file and merge such a file back in.
namespace kestrix::utilities {

// Writes every kind to `target` and says how it went; true when written.
bool exportUserData(config::Session& session, const std::string& target);
// Reads `source`, asks what to do with records already here, and says what it did.
bool importUserData(config::Session& session, const std::string& source);

// The same, asking for the file first.
void exportUserDataAsked(QWidget* parent, config::Session& session);
void importUserDataAsked(config::Session& session);

} // namespace kestrix::utilities
