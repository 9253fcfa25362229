#pragma once
// The document a title links to through its Quelle field: when a double
// click starts it, the field's hint, and starting it with the application
// the system associates with it.

#include <optional>
#include <string>

namespace folianto {

class UserInteraction;

// Starts `path` (a file or a web address). When a document was started
// already (`docStarted`), asks first; `docStarted` then tells whether this
// start succeeded. False when nothing was started.
bool StartDocument(UserInteraction& ui, bool& docStarted, const std::string& path);

// A double click on Quelle starts it while the link box is ticked and the
// text names an existing file or a web address ("http..." or "www...").
bool QuelleStartsDocument(const std::string& text, bool linkTicked);

// Quelle's hint after the link box or the text changed: the full text (and,
// while ticked, how the field behaves) when the text is wider than the
// field; nothing when the hint stays as it was.
std::optional<std::string> QuelleHint(const std::string& text, bool linkTicked, int textWidth, int fieldWidth);

// "auf Datei verlinken": the file chosen becomes Quelle. Nothing when the
// dialog was cancelled: Quelle then keeps what it holds.
std::optional<std::string> ChooseLinkedDocument(UserInteraction& ui, const std::string& quelle);

} // namespace folianto
