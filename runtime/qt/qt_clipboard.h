#pragma once

#include <QObject>

namespace tolvane::runtime {

// The MIME type clipboard managers read to leave an entry out of their history.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";

// From now on, whenever this program puts text on the clipboard or the selection (copy and
// cut, by keys or the context menu), the data also carries the hint "secret", so clipboard
// managers do not keep the password. The text itself stays as the toolkit put it. Lives as
// long as `context`.
void MarkCopiesAsSecret(QObject& context);

// Once the window has closed: while this program owns the clipboard with a copy from one of
// its boxes, serves that copy until another program takes the clipboard (or the compositor
// cancels it), since on Linux nothing else keeps a copy once its program ends. The selection
// is given up first: it is no copy. Returns at once when there is nothing to serve. When the
// display goes meanwhile, the process ends with status, silently.
bool OwnsSecretCopy();
void ServeSecretCopy(int status);

}  // namespace tolvane::runtime
