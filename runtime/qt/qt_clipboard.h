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

}  // namespace tolvane::runtime
