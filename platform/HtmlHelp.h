#pragma once
// The HTML help calls the program makes, answered by our own viewer: a topic,
// the index at a keyword, the topic of a context number, a text pop-up, and
// closing everything. One viewer window and one pop-up serve the process;
// later calls reuse them.

#include "HtmlHelpPopup.h"

#include <QString>

class QWidget;
class THtmlHelpViewer;

class THtmlHelp
{
public:
    // Opens the viewer on a topic of the help file (the default topic when
    // topic is empty). A file that cannot be opened is reported in the viewer.
    static THtmlHelpViewer* DisplayTopic(QWidget* caller, const QString& chmFile, const QString& topic = {});
    // Opens the viewer's index at a keyword.
    static THtmlHelpViewer* DisplayIndex(QWidget* caller, const QString& chmFile, const QString& keyword);
    // Opens the topic mapped to a context number.
    static THtmlHelpViewer* HelpContext(QWidget* caller, const QString& chmFile, quint32 id);
    // Shows pop-up text number id of the help file; nullptr when the file
    // has no such pop-up (or cannot be opened).
    static THtmlHelpPopup* DisplayTextPopup(QWidget* caller, const QString& chmFile, quint32 id,
                                            const THHPopup& look);
    // Shows a text of the caller's own in the pop-up.
    static THtmlHelpPopup* DisplayTextPopup(QWidget* caller, const QString& text, const THHPopup& look);
    // Closes the viewer and the pop-up.
    static void CloseAll();

    // The current viewer and pop-up, nullptr when none is open.
    static THtmlHelpViewer* Viewer();
    static THtmlHelpPopup* Popup();

private:
    static THtmlHelpViewer* Prepare(QWidget* caller, const QString& chmFile);
};
