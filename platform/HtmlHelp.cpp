#include "HtmlHelp.h"

#include "ChmFile.h"
#include "HtmlHelpViewer.h"

#include <QPointer>

namespace
{
QPointer<THtmlHelpViewer> g_viewer;
QPointer<THtmlHelpPopup> g_popup;
} // namespace

THtmlHelpViewer* THtmlHelp::Viewer()
{
    return g_viewer.data();
}

THtmlHelpPopup* THtmlHelp::Popup()
{
    return g_popup.data();
}

THtmlHelpViewer* THtmlHelp::Prepare(QWidget* caller, const QString& chmFile)
{
    if (!g_viewer) {
        // Owned by the caller's window, like the system viewer: it stays above
        // it and goes with it.
        g_viewer = new THtmlHelpViewer(caller ? caller->window() : nullptr);
        g_viewer->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    g_viewer->OpenFile(chmFile);
    g_viewer->show();
    g_viewer->raise();
    g_viewer->activateWindow();
    return g_viewer;
}

THtmlHelpViewer* THtmlHelp::DisplayTopic(QWidget* caller, const QString& chmFile, const QString& topic)
{
    THtmlHelpViewer* v = Prepare(caller, chmFile);
    if (v->IsOpen()) {
        v->ShowContents();
        v->ShowTopic(topic);
    }
    return v;
}

THtmlHelpViewer* THtmlHelp::DisplayIndex(QWidget* caller, const QString& chmFile, const QString& keyword)
{
    THtmlHelpViewer* v = Prepare(caller, chmFile);
    if (v->IsOpen()) v->ShowIndex(keyword);
    return v;
}

THtmlHelpViewer* THtmlHelp::HelpContext(QWidget* caller, const QString& chmFile, quint32 id)
{
    THtmlHelpViewer* v = Prepare(caller, chmFile);
    if (v->IsOpen()) v->ShowContext(id);
    return v;
}

THtmlHelpPopup* THtmlHelp::DisplayTextPopup(QWidget* caller, const QString& chmFile, quint32 id,
                                            const THHPopup& look)
{
    TChmFile chm;
    if (!chm.Open(chmFile)) return nullptr;
    const auto text = chm.TextPopup(id);
    if (!text) return nullptr;
    return DisplayTextPopup(caller, *text, look);
}

THtmlHelpPopup* THtmlHelp::DisplayTextPopup(QWidget* caller, const QString& text, const THHPopup& look)
{
    if (!g_popup) g_popup = new THtmlHelpPopup(caller ? caller->window() : nullptr);
    g_popup->Popup(text, look);
    return g_popup;
}

void THtmlHelp::CloseAll()
{
    if (g_popup) g_popup->close();
    if (g_viewer) {
        g_viewer->close();
        // A viewer without an owner window is ours to release.
        if (!g_viewer->parent()) delete g_viewer.data();
    }
}
