#pragma once

#include <QObject>
#include <functional>

namespace tolvane::runtime {

// The MIME type clipboard managers read to leave an entry out of their history.
inline constexpr char kPasswordManagerHint[] = "x-kde-passwordManagerHint";

// A password copied from one of the window's boxes, from the copy to the end of the process;
// the whole of its life is told in qt_secret_copy.cpp.

// From now on, whenever this program puts text on the clipboard or the selection (copy and
// cut, by keys, the context menu or a screen reader), the data also carries the hint
// "secret", so clipboard managers do not keep the password. Lives as long as `context`.
void MarkCopiesAsSecret(QObject& context);

// True while this program owns the clipboard with a copy from one of its boxes.
bool HoldsSecretCopy();

// Once the window has closed: serves the copy unseen until another program takes the
// clipboard, the display ends or a signal asks the process to end, and the process then ends
// with `status`. `forgetWindow` destroys the window, once these ends are the copy's own.
// Returns at once, the window left alone, when there is nothing to serve.
void ServeSecretCopy(int status, const std::function<void()>& forgetWindow);

}  // namespace tolvane::runtime
