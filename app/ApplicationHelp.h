#pragma once
// Help for the controls of one window (its owner): answers the help requests
// of F1 and of What's-this clicks with a hint pop-up or an HTML help topic,
// and opens the help contents.
//
// A control takes part by carrying dynamic properties, set with the helpers
// below (or QObject::setProperty):
//   "helpContext" int      help context number, 0 = none
//   "hint"        QString  the control's hint (not shown on mouse hover)
//   "helpType"    int      THelpType, htContext unless set
//   "helpKeyword" QString  index keyword for htKeyword controls
// Numbers below 1000 with a hint show the hint; 1000-1999 open the topic of
// that number; 2000 and more show the help file's text pop-up of that number.
//
// Wiring in the main window:
//   ApplicationHelp1 = new TApplicationHelp(this);        // this = the main window
//   ApplicationHelp1->setHelpFileName("VELKHelp.chm");
//   ApplicationHelp1->setShowModal(TApplicationHelp::smHelp);
//   ApplicationHelp1->setPause(3000);
//   TApplicationHelp::SetControlHelp(DlfD, 1, "计算传质时需要填写此数据,只计算塔径不必填写.");
//   MHelp_Topic    -> ApplicationHelp1->ShowHelpContents()
//   MHelp_Whatthis -> ApplicationHelp1->WhatsThis()
//   MHelp_URL      -> MHelp_URLClick(),  MHelp_Email -> MHelp_EmailClick()
// F1 on a control whose help number is 1 or more is answered here and does
// not reach the window; F1 elsewhere passes on to the window's key handling.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QTimer;
class QWidget;
class THintWindow;

class TApplicationHelp : public QObject
{
    Q_OBJECT
public:
    enum TShowModal { smHint, smHelp };
    Q_ENUM(TShowModal)
    enum THelpType { htKeyword, htContext };
    Q_ENUM(THelpType)

    // Windows help commands that the handler tells apart.
    static constexpr int HELP_CONTEXT = 0x0001;
    static constexpr int HELP_CONTEXTPOPUP = 0x0008;
    static constexpr int HELP_SETPOPUP_POS = 0x000D;

    explicit TApplicationHelp(QWidget* owner);
    ~TApplicationHelp() override;

    bool IncludeHint() const { return includeHint_; }
    void setIncludeHint(bool v) { includeHint_ = v; }
    QString HelpFileName() const { return helpFileName_; }
    void setHelpFileName(const QString& v) { helpFileName_ = v; }
    TShowModal ShowModal() const { return showModal_; }
    void setShowModal(TShowModal v) { showModal_ = v; }
    int Pause() const { return pause_; }
    void setPause(int ms);

    // About the control last asked for.
    THelpType HelpType() const { return helpType_; }
    QString HelpKeyword() const { return helpKeyword_; }
    QString CHint() const { return chint_; }
    int HelpContext() const { return helpContext_; }
    QWidget* LastControl() const { return lastControl_; }

    QPoint PopupPosition() const { return popupPos_; }
    THintWindow* HintWindow() const { return hint_; }
    QTimer* HintTimer() const { return timer_; }

    // The help request handler: true when the request was answered, false
    // when it still needs the platform's standard help.
    bool HelpRequest(int command, qint64 data);
    // HelpFileName as found: as given when such a file exists, else in the
    // program's directory. Under the English interface its English edition
    // (EnglishEdition) when that is found, else the file itself.
    QString ResolvedHelpFile() const;
    // The English edition's name: "_en" before the extension
    // ("VELKHelp.chm" -> "VELKHelp_en.chm"); same folder, same context numbers.
    static QString EnglishEdition(const QString& name);
    // Opens the help viewer on the default topic.
    void ShowHelpContents();
    // Enters What's-this mode: the next control clicked is explained.
    void WhatsThis();

    // The position argument of HELP_SETPOPUP_POS: x in the low and y in the
    // high 16 bits.
    static qint64 PackPopupPos(const QPoint& p);

    static void SetControlHelp(QWidget* control, int helpContext, const QString& hint);
    static void SetHelpKeyword(QWidget* control, const QString& keyword);
    static int HelpContextOf(const QWidget* control);
    static QString HintOf(const QWidget* control);
    static THelpType HelpTypeOf(const QWidget* control);
    static QString HelpKeywordOf(const QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The control itself or its nearest parent inside the owner with a help number.
    QWidget* NumberedControl(QWidget* w) const;
    bool Request(QWidget* control, const QPoint& popupPos);

    QPointer<QWidget> owner_;
    bool includeHint_ = true;
    QString helpFileName_;
    TShowModal showModal_ = smHint;
    int pause_ = 1000;
    THelpType helpType_ = htContext;
    QString helpKeyword_;
    QString chint_;
    int helpContext_ = 0;
    QPointer<QWidget> lastControl_;
    QPoint popupPos_;
    THintWindow* hint_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Topics of the help file for the pages and the options of the window; a
// page or control carrying one opens it on F1 (the help project's [MAP]).
namespace HelpTopic
{
inline constexpr int Diagram = 1010;
inline constexpr int Comparison = 1015;
inline constexpr int Curves = 1016;
inline constexpr int Rating = 1017;
inline constexpr int LoadCases = 1019;
inline constexpr int DesignBasis = 1020;
inline constexpr int Conservative = 1021;
inline constexpr int UnitSystem = 1022;
inline constexpr int Efficiency = 1023; // the design HETP (DesignHetpD carries it)
inline constexpr int UserPackings = 1031;
inline constexpr int ColumnDesign = 1024;
} // namespace HelpTopic

// The maker's web page and mail address, opened by the desktop's handlers
// (Help > "&H 官方网站" and "&E 联系我们"). Return whether a handler took them.
inline constexpr const char* MakerWebPage = "https://velk.example.org/";
inline constexpr const char* MakerMailAddress = "mailto:velk@example.org?subject=VELK";
bool MHelp_URLClick();
bool MHelp_EmailClick();
