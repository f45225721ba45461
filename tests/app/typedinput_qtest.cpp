// The number of stages and the design flooding percentage as typed: what is
// refused, what is asked about once, and that the messages name the field
// by its caption in both languages.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "BoundWidgets.h"
#include "CalcPageWidget.h"
#include "Language.h"
#include "Messages.h"
#include "TypedInputCheck.h"
#include "UnitMain.h"

namespace {
bool HasCjk(const QString& s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}
} // namespace

class TypedInputTest : public QObject {
    Q_OBJECT
    RecordingSink sink;

private slots:
    void verdicts_data()
    {
        QTest::addColumn<bool>("stages");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("verdict");
        const int ok = TypedCheck::Ok, bad = TypedCheck::Invalid, ask = TypedCheck::AskHigh;
        QTest::newRow("stages empty: not given") << true << "" << ok;
        QTest::newRow("stages 1") << true << "1" << ok;
        QTest::newRow("stages 25") << true << " 25 " << ok;
        QTest::newRow("stages 1e2 is 100") << true << "1e2" << ok;
        QTest::newRow("stages 0") << true << "0" << bad;
        QTest::newRow("stages negative") << true << "-3" << bad;
        QTest::newRow("stages fraction") << true << "12.5" << bad;
        QTest::newRow("stages letters") << true << "abc" << bad;
        QTest::newRow("flood 80") << false << "80" << ok;
        QTest::newRow("flood 100 is the limit") << false << "100" << ok;
        QTest::newRow("flood 0.5") << false << "0.5" << ok;
        QTest::newRow("flood just above 100") << false << "100.1" << ask;
        QTest::newRow("flood 105") << false << "105" << ask;
        QTest::newRow("flood 0") << false << "0" << bad;
        QTest::newRow("flood negative") << false << "-5" << bad;
        QTest::newRow("flood empty") << false << "" << bad;
        QTest::newRow("flood letters") << false << "8O" << bad;
    }
    void verdicts()
    {
        QFETCH(bool, stages);
        QFETCH(QString, text);
        QFETCH(int, verdict);
        for (auto lang : {TLanguage::Chinese, TLanguage::English}) {
            TLanguage::Apply(lang);
            const TypedCheck c = stages ? CheckStagesText(text) : CheckFloodPercentText(text);
            QCOMPARE(int(c.verdict), verdict);
            if (verdict == TypedCheck::Ok)
                continue;
            // The field by its caption, in the interface language only.
            const QString caption = lang == TLanguage::Chinese ? (stages ? "理论板数" : "泛点预设")
                                                               : (stages ? "Theoretical stages" : "Design flooding");
            QVERIFY2(c.message.contains(caption), qPrintable(c.message));
            QCOMPARE(HasCjk(c.message), lang == TLanguage::Chinese);
            QVERIFY(!c.message.contains(QChar(0x201C)) || lang == TLanguage::Chinese);
        }
        TLanguage::Apply(TLanguage::Chinese);
    }

    // In the window: a refused value brings the focus back with a message;
    // a percentage above 100 is asked about once, and "no" restores it.
    void inTheWindow()
    {
        SetMessageSink(&sink);
        TFormVELK w;
        w.show();
        // No window manager activates it on a bare X server.
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* stages = w.findChild<TEditDWidget*>(QStringLiteral("StagesD"));
        auto* flood = w.findChild<QComboBox*>(QStringLiteral("fpercentD"));
        auto* guard = w.findChild<TCalcPageWidget*>()->TypedInputGuard();
        QVERIFY(stages && flood && guard);
        int asked = 0;
        bool keep = true;
        guard->AskKeepHigh = [&](const QString&) {
            ++asked;
            return keep;
        };
        auto leave = [&](QWidget* field, const QString& text) {
            field->setFocus(Qt::TabFocusReason);
            if (auto* e = qobject_cast<QLineEdit*>(field))
                e->selectAll();
            else
                flood->lineEdit()->selectAll();
            QTest::keyClicks(field, text);
            w.findChild<QWidget*>(QStringLiteral("DlD"))->setFocus(Qt::TabFocusReason);
            QApplication::processEvents();
        };

        sink.messages.clear();
        leave(stages, QStringLiteral("12.5"));
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(sink.messages[0].text).contains("理论板数"));
        QTRY_VERIFY(stages->hasFocus());
        sink.messages.clear();
        leave(stages, QStringLiteral("12"));
        QVERIFY(sink.messages.empty());
        QCOMPARE(w.Page().Field("StagesD")->Text(), std::string("12"));

        leave(flood, QStringLiteral("105"));
        QCOMPARE(asked, 1);
        QCOMPARE(flood->currentText(), QStringLiteral("105"));
        // Kept once: leaving again does not ask again.
        flood->setFocus(Qt::TabFocusReason);
        w.findChild<QWidget*>(QStringLiteral("DlD"))->setFocus(Qt::TabFocusReason);
        QCOMPARE(asked, 1);
        keep = false;
        leave(flood, QStringLiteral("120"));
        QCOMPARE(asked, 2);
        QCOMPARE(flood->currentText(), QStringLiteral("105"));
        QCOMPARE(w.Page().Combo("fpercentD")->Text(), std::string("105"));

        sink.messages.clear();
        leave(flood, QStringLiteral("0"));
        QCOMPARE(sink.messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(sink.messages[0].text).contains("泛点预设"));
        QTRY_VERIFY(flood->hasFocus());
        w.Page().Modified = false;
        SetMessageSink(nullptr);
    }
};

QTEST_MAIN(TypedInputTest)
#include "typedinput_qtest.moc"
