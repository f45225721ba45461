#include "ApplicationHelp.h"

#include "DataFiles.h"
#include "Language.h"

#include "ApplicationHelpHint.h"
#include "HtmlHelp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QUrl>
#include <QWhatsThis>
#include <QWidget>

namespace
{
const char* const PropHelpContext = "helpContext";
const char* const PropHint = "hint";
const char* const PropHelpType = "helpType";
const char* const PropHelpKeyword = "helpKeyword";
constexpr int HintMaxWidth = 300;

// As given when such a file exists, else in the program's data folder.
QString Resolve(const QString& name)
{
    if (QFileInfo(name).isFile()) return QFileInfo(name).absoluteFilePath();
    return DataFilePath(name);
}
} // namespace

TApplicationHelp::TApplicationHelp(QWidget* owner) : QObject(owner), owner_(owner)
{
    setObjectName(QStringLiteral("ApplicationHelp1"));
    hint_ = new THintWindow(owner);
    timer_ = new QTimer(this);
    // A coarse timer may fire up to 5 % early; the hint should stay its full Pause.
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(pause_);
    connect(timer_, &QTimer::timeout, this, [this] {
        hint_->hide();
        timer_->stop();
    });
    // Help requests of the whole application pass here, as the help event
    // of the application object does; only the owner's controls are answered.
    qApp->installEventFilter(this);
}

TApplicationHelp::~TApplicationHelp()
{
    if (qApp) qApp->removeEventFilter(this);
}

void TApplicationHelp::setPause(int ms)
{
    pause_ = std::max(0, ms);
    timer_->setInterval(pause_);
}

qint64 TApplicationHelp::PackPopupPos(const QPoint& p)
{
    return qint64(quint16(qint16(p.x()))) | qint64(quint16(qint16(p.y()))) << 16;
}

void TApplicationHelp::SetControlHelp(QWidget* control, int helpContext, const QString& hint)
{
    control->setProperty(PropHelpContext, helpContext);
    control->setProperty(PropHint, hint);
}

void TApplicationHelp::SetHelpKeyword(QWidget* control, const QString& keyword)
{
    control->setProperty(PropHelpType, int(htKeyword));
    control->setProperty(PropHelpKeyword, keyword);
}

int TApplicationHelp::HelpContextOf(const QWidget* control)
{
    return control ? control->property(PropHelpContext).toInt() : 0;
}

QString TApplicationHelp::HintOf(const QWidget* control)
{
    return control ? control->property(PropHint).toString() : QString();
}

TApplicationHelp::THelpType TApplicationHelp::HelpTypeOf(const QWidget* control)
{
    const QVariant v = control ? control->property(PropHelpType) : QVariant();
    return v.isValid() && v.toInt() == htKeyword ? htKeyword : htContext;
}

QString TApplicationHelp::HelpKeywordOf(const QWidget* control)
{
    return control ? control->property(PropHelpKeyword).toString() : QString();
}

QString TApplicationHelp::EnglishEdition(const QString& name)
{
    const int slash = int(name.lastIndexOf(QLatin1Char('/')));
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    const int at = dot > slash ? dot : int(name.size());
    return name.left(at) + QStringLiteral("_en") + name.mid(at);
}

QString TApplicationHelp::ResolvedHelpFile() const
{
    if (helpFileName_.isEmpty()) return {};
    // An installation without the English edition still has help: the Chinese one.
    if (TLanguage::Current() == TLanguage::English) {
        const QString english = Resolve(EnglishEdition(helpFileName_));
        if (QFileInfo(english).isFile()) return english;
    }
    return Resolve(helpFileName_);
}

void TApplicationHelp::ShowHelpContents()
{
    THtmlHelp::DisplayTopic(owner_, ResolvedHelpFile());
}

void TApplicationHelp::WhatsThis()
{
    QWhatsThis::enterWhatsThisMode();
}

bool TApplicationHelp::HelpRequest(int command, qint64 data)
{
    if (command == HELP_SETPOPUP_POS) {
        popupPos_ = QPoint(qint16(data & 0xFFFF), qint16((data >> 16) & 0xFFFF));
        return false;
    }
    // Number 0 means "no help": every unnumbered control would match it.
    if (!owner_ || data <= 0) return false;
    QWidget* control = nullptr;
    for (QWidget* w : owner_->findChildren<QWidget*>()) {
        if (HelpContextOf(w) == data) {
            control = w;
            break;
        }
    }
    if (!control) return false;

    lastControl_ = control;
    helpType_ = HelpTypeOf(control);
    helpKeyword_ = HelpKeywordOf(control);
    // Hints are kept as source texts and shown in the interface language.
    chint_ = TLanguage::Tr(HintOf(control));
    helpContext_ = HelpContextOf(control);
    const QString file = ResolvedHelpFile();

    if (helpType_ == htKeyword && !helpKeyword_.isEmpty() && !file.isEmpty()) {
        THtmlHelp::DisplayIndex(owner_, file, helpKeyword_);
        return true;
    }
    if (helpType_ == htContext && helpContext_ >= 1000 && helpContext_ <= 1999 && !file.isEmpty()) {
        THtmlHelp::HelpContext(owner_, file, quint32(helpContext_));
        return true;
    }
    if (helpType_ == htContext && helpContext_ >= 2000 && !file.isEmpty()) {
        THHPopup look;
        look.pt = popupPos_;
        THtmlHelp::DisplayTextPopup(owner_, file, quint32(helpContext_), look);
        return true;
    }
    if (includeHint_ && helpType_ == htContext && helpContext_ < 1000 && !chint_.isEmpty()) {
        if (showModal_ == smHelp) {
            THHPopup look;
            look.pt = popupPos_;
            look.clrForeground = QColor(255, 0, 0);
            look.clrBackground = QColor(255, 255, 0);
            THtmlHelp::DisplayTextPopup(owner_, chint_, look);
        } else {
            hint_->hide();
            QRect r = hint_->CalcHintRect(HintMaxWidth, chint_);
            r.moveTopLeft(popupPos_ - QPoint(0, control->height()));
            hint_->ActivateHint(r, chint_);
            timer_->start(pause_);
        }
        return true;
    }
    return false;
}

QWidget* TApplicationHelp::NumberedControl(QWidget* w) const
{
    if (!owner_) return nullptr;
    for (; w; w = w->parentWidget()) {
        // A menu of the owner is a window of its own, yet below the owner.
        if (w != owner_ && !owner_->isAncestorOf(w) && !qobject_cast<QMenu*>(w)) return nullptr;
        if (HelpContextOf(w) >= 1) return w;
        if (w == owner_) return nullptr;
    }
    return nullptr;
}

bool TApplicationHelp::Request(QWidget* control, const QPoint& popupPos)
{
    HelpRequest(HELP_SETPOPUP_POS, PackPopupPos(popupPos));
    return HelpRequest(HELP_CONTEXTPOPUP, HelpContextOf(control));
}

bool TApplicationHelp::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || !watched->isWidgetType()) break;
        QWidget* control = NumberedControl(static_cast<QWidget*>(watched));
        if (!control) break; // the window's own key handling answers F1 on the other controls
        // The pop-up goes just below the control.
        if (Request(control, control->mapToGlobal(QPoint(0, control->height())))) return true;
        break;
    }
    case QEvent::QueryWhatsThis:
        if (watched->isWidgetType() && NumberedControl(static_cast<QWidget*>(watched))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::WhatsThis: {
        if (!watched->isWidgetType()) break;
        QWidget* control = NumberedControl(static_cast<QWidget*>(watched));
        if (!control) break;
        if (Request(control, static_cast<QHelpEvent*>(event)->globalPos())) {
            event->accept();
            // Leave the mode once the click is over; leaving inside its own
            // event handling would pull the mode's filter from under it.
            QTimer::singleShot(0, [] {
                if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
            });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool MHelp_URLClick()
{
    return QDesktopServices::openUrl(QUrl(QString::fromLatin1(MakerWebPage)));
}

bool MHelp_EmailClick()
{
    return QDesktopServices::openUrl(QUrl(QString::fromLatin1(MakerMailAddress)));
}
