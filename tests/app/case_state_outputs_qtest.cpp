// One case, many views: velk-calc renders the JSON, the PDF (read back by
// pdftotext) and the report workbook (read back by openpyxl) for a set of
// states, and every output must tell the state the JSON gives: the same
// marks on the same values, a failed run named as failed, the design basis
// printed exactly when it differs from a new page's.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString kCalc = QStringLiteral(VELK_BINARY_DIR "/bin/velk-calc");
const QString kExamples = QStringLiteral(VELK_SOURCE_DIR "/examples/");
const QStringList kNearFlood = {"--packing",    "Mellapakr-250Y", "DlD=870",   "DvD=0.95",    "MlD=0.35e-3",
                                "MvD=0.011e-3", "SLD=0.035",      "DlfD=4e-9", "DvfD=1.6e-5", "alfD=3.2",
                                "LD=3.3333",    "VD=3.8889",      "--stages",  "10"};
// The report's value cells of the results (row, column of the template).
const QMap<QString, QString> kResultCells = {
    {"FpD", "C36"},      {"CgmaxD", "G36"}, {"UfD", "C37"},    {"dpD", "G37"},   {"UpD", "C38"},
    {"dD", "G38"},       {"UlsD", "C39"},   {"HTD", "G39"},    {"UvsD", "C40"},  {"dPdryD", "G40"},
    {"dPwaterD", "G41"}, {"HTUVD", "C42"},  {"HTUOVD", "G42"}, {"HTULD", "C43"}, {"HETPD", "G43"}};

// Every cell of the first sheet with a comment or a struck font: "ref" ->
// [strike, comment].
const char* const kReadMarks = R"(
import json, sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
out = {}
for row in ws.iter_rows():
    for c in row:
        if c.comment or (c.font and c.font.strike):
            out[c.coordinate] = [bool(c.font and c.font.strike), c.comment.text if c.comment else ""]
print(json.dumps(out))
)";

struct Outputs {
    int status = -1;
    QJsonObject fields;
    QString pdf; // page 1, line breaks kept
    QJsonObject marks;
};

Outputs Render(const QStringList& args, const QString& dir)
{
    Outputs o;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", "en_US.UTF-8");
    env.insert("LC_ALL", "en_US.UTF-8");
    p.setProcessEnvironment(env);
    p.start(kCalc, args + QStringList{"--pdf", dir + "/r.pdf", "--report", dir + "/r.xlsx"});
    if (!p.waitForFinished(180000)) return o;
    o.status = p.exitCode();
    o.fields = QJsonDocument::fromJson(p.readAllStandardOutput()).object().value("fields").toObject();
    QProcess t;
    t.start("pdftotext", {"-layout", "-f", "1", "-l", "2", dir + "/r.pdf", "-"});
    t.waitForFinished(60000);
    o.pdf = QString::fromUtf8(t.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    QProcess py;
    py.start(QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3",
             {"-c", kReadMarks, dir + "/r.xlsx"});
    py.waitForFinished(60000);
    o.marks = QJsonDocument::fromJson(py.readAllStandardOutput()).object();
    return o;
}

} // namespace

class CaseStateOutputsTest : public QObject
{
    Q_OBJECT
private slots:
    void outputsAgreeWithTheState_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("basisText"); // "" : no design-basis block
        const QString hp = kExamples + "high-pressure.vel";
        QTest::newRow("valid") << QStringList{"--project", kExamples + "atmospheric.vel"} << 0 << QString();
        QTest::newRow("near-flood invalid")
            << (kNearFlood + QStringList{"--rate-diameter", "1.2532008263031094"}) << 0 << QString();
        QTest::newRow("beyond flood")
            << (kNearFlood + QStringList{"--rate-diameter", "1.2"}) << 0 << QString();
        QTest::newRow("rating") << (kNearFlood + QStringList{"--rate-diameter", "2.0"}) << 0 << QString();
        QTest::newRow("failed") << QStringList{"--project",    hp, "--design-dp", "3", "--design-basis",
                                               "pressure-drop"}
                                << 1 << "By pressure-drop limit";
        QTest::newRow("pressure-drop basis")
            << QStringList{"--project", kExamples + "vacuum.vel", "--design-dp",
                           "2",         "--design-basis",         "pressure-drop"}
            << 0 << "By pressure-drop limit";
        QTest::newRow("conservative") << QStringList{"--project", hp, "--conservative"} << 0 << "Yes";
        QTest::newRow("US units") << QStringList{"--project", hp, "--units", "us"} << 0 << "US customary";
        // The theoretical 1.7127 m rounded up, not to the nearer 1.7 m that broke the limit.
        QTest::newRow("rounded up") << QStringList{"--project",      kExamples + "atmospheric.vel",
                                                   "--design-dp",    "1",
                                                   "--design-basis", "pressure-drop"}
                                    << 0 << "1.8 m (theoretical 1.713 m rounded up";
        // 2 mbar/m = 200 Pa/m x 0.3048 m/ft / 249.08891 Pa/inH2O.
        QTest::newRow("US limit") << QStringList{"--project",      kExamples + "vacuum.vel",
                                                 "--design-dp",    "2",
                                                 "--design-basis", "pressure-drop",
                                                 "--units",        "us"}
                                  << 0 << "0.2447 inH2O/ft";
    }
    void outputsAgreeWithTheState()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, basisText);
        QTemporaryDir dir;
        const Outputs o = Render(args, dir.path());
        QCOMPARE(o.status, status);
        QVERIFY(!o.fields.isEmpty());
        bool anyInvalid = false, anyStale = false;
        for (auto it = kResultCells.begin(); it != kResultCells.end(); ++it) {
            const QJsonObject f = o.fields.value(it.key()).toObject();
            const bool invalid = f.value("invalid").toBool(), stale = f.value("stale").toBool();
            const QJsonArray cell = o.marks.value(it.value()).toArray();
            const QString text = f.value("display").toString();
            // The workbook: struck exactly when invalid, a note with each mark.
            QCOMPARE(cell.at(0).toBool(), invalid);
            QCOMPARE(cell.at(1).toString().contains(QChar(0x2020)), invalid);
            QCOMPARE(cell.at(1).toString().contains(QChar(0x2021)), stale);
            // The PDF: the digits kept, the marks after them.
            QString suffix;
            if (invalid) suffix += QChar(0x2020);
            if (stale) suffix += QChar(0x2021);
            if (!text.isEmpty() && !suffix.isEmpty())
                QVERIFY2(o.pdf.contains(text + suffix), qPrintable(it.key() + " " + text));
            anyInvalid = anyInvalid || invalid;
            anyStale = anyStale || stale;
        }
        // Each mark used is explained once on the page; none without marks.
        QCOMPARE(o.pdf.contains("Beyond the model"), anyInvalid);
        QCOMPARE(o.pdf.contains("Not recalculated for the inputs"), anyStale);
        if (!anyInvalid && !anyStale)
            QVERIFY(!o.pdf.contains(QChar(0x2020)) && !o.pdf.contains(QChar(0x2021)));
        // A failed run names its failure and never says "None".
        QCOMPARE(o.pdf.contains("Calculation failed"), status != 0);
        if (status != 0) QVERIFY(!o.pdf.contains(QRegularExpression("Warning\\s+None")));
        QCOMPARE(o.pdf.contains("5. Design basis"), !basisText.isEmpty());
        if (!basisText.isEmpty()) QVERIFY2(o.pdf.contains(basisText), qPrintable(o.pdf));
        // The diameter the results rest on, where it holds a current value.
        if (!basisText.isEmpty()) QCOMPARE(o.pdf.contains("Diameter used"), status == 0);
    }
};

QTEST_MAIN(CaseStateOutputsTest)
#include "case_state_outputs_qtest.moc"
