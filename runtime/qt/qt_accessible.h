#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>

namespace tolvane::runtime {

// What screen readers get beyond Qt's own accessible interfaces, for widgets marked below:
// a length list says its name and its bound (Qt on Linux reads the bound as the name); a
// label controls its check box, describes it and offers its click; a result box reads as one
// whole line; a container (the window, a frame) lists its children in screen order, and the
// window reads as a frame. Installing more than once does nothing.
void InstallAccessibility();

// The label controls the check box and its text describes it; its click is offered as an
// action.
void MarkLabelFor(QWidget& label, QWidget& box);
// The list's drop-down, once it exists, speaks the list's name and has the current entry
// selected, so the entry a screen reader finds selected is the bound. The drop-down is made
// when it first opens, not at start, and never by a screen reader's reading.
void FollowEntryInDropDown(QComboBox& list);
// Gives the drop-down the list's name and current entry; for the list, as it opens.
void NameDropDown(QComboBox& list, QAbstractItemView& view);
// A note that the box's caption colour carries (empty: none): read as the box's description
// while it stands, and announced once as it first appears in the window.
void SetCaptionNote(QWidget& box, const QString& note);
// Has screen readers say the text now, once.
void Announce(QWidget& window, const QString& text);
// A window whose children read top to bottom, then left to right, as a frame's do. Before any
// accessibility event of the window: its interface is made at the first.
void MarkContainer(QWidget& window);

}  // namespace tolvane::runtime
