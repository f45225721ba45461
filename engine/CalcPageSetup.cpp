// The calculation page's start states, hints, help numbers and handlers:
// the part of its set-up that says how each control behaves.
#include "CalcPage.h"

#include "CalcPageSetup.h"
#include "TrNoop.h"

namespace
{
const char* const kFieldHintDiffusion =
    QT_TRANSLATE_NOOP("Velk", "计算传质时需要填写此数据,只计算塔径不必填写.");
} // namespace

void CalcPage::SetStartStatesAndHints()
{
    // Start states.
    Field("CgmaxD")->SetFontColor(clRed);
    Combo("AfD")->SetItemIndex(6);
    Combo("fpercentD")->SetItemIndex(0);
    Combo("PTD")->SetItemIndex(0);
    Combo("UfMD")->SetItemIndex(0);
    Check("CBLagrange")->SetEnabled(false);
    Combo("DesignBasisD")->SetItemIndex(0);
    Combo("DesignHetpD")->SetItemIndex(0);

    // Hints and help numbers, used by the key handling and the help.
    Field("DlfD")->SetHint(kFieldHintDiffusion);
    Field("DlfD")->SetHelpContext(1);
    Combo("AfD")->SetHint(QT_TRANSLATE_NOOP("Velk", "高泡沫选0.5,中泡沫选0.8,无泡沫选1.0.其它酌情选取."));
    Combo("AfD")->SetHelpContext(2);
    Field("DvfD")->SetHint(kFieldHintDiffusion);
    Field("DvfD")->SetHelpContext(11);
    Combo("fpercentD")->SetHint(QT_TRANSLATE_NOOP("Velk", "通常在50%到80%之间。激进的设置可达90%"));
    Combo("fpercentD")->SetHelpContext(12);
    Field("meD")->SetHint(QT_TRANSLATE_NOOP("Velk", "亨利定律:y=mx中的m"));
    Field("meD")->SetHelpContext(21);
    Field("alfD")->SetHint(QT_TRANSLATE_NOOP("Velk", "y=ax/[1+(a-1)x]中的a"));
    Field("alfD")->SetHelpContext(22);
    Field("LmdD")->SetHint(QT_TRANSLATE_NOOP("Velk", "和气液平衡有关的常数，建议你不要直接填写该数据"));
    Field("LmdD")->SetHelpContext(23);
    Combo("UfMD")->SetHint(QT_TRANSLATE_NOOP("Velk", "3 种算法结果存在差异。"));
    Check("CBLagrange")->SetHint(QT_TRANSLATE_NOOP("Velk", "Kister-Gill关联图自动曲面插值计算泛点气速。"));
    Field("dD")->SetHint(QT_TRANSLATE_NOOP("Velk", "圆整后的塔径"));
    Field("HTUVD")->SetHint(QT_TRANSLATE_NOOP("Velk", "气相传质单元高度."));
    Field("HTUVD")->SetHelpContext(31);
    Field("HTULD")->SetHint(QT_TRANSLATE_NOOP("Velk", "液相传质单元高度."));
    Field("HTULD")->SetHelpContext(32);
    Field("HTUOVD")->SetHint(QT_TRANSLATE_NOOP("Velk", "总传质单元高度."));
    Field("HTUOVD")->SetHelpContext(33);
    Field("HETPD")->SetHint(QT_TRANSLATE_NOOP("Velk", "等板高度,即一个理论板需要的填料高度."));
    Field("HETPD")->SetHelpContext(34);
    rating_->SetHint(QT_TRANSLATE_NOOP("Velk", "勾选后实际塔径由你输入，按该塔径核算负荷、压降和持液量。"));
    Field("StagesD")->SetHint(QT_TRANSLATE_NOOP("Velk", "理论板数，用于计算填料层高度和床层压降，可不填。"));
    Combo("DesignBasisD")->SetHint(QT_TRANSLATE_NOOP("Velk", "塔径按泛点率、按湿塔压降限值或两者兼顾确定。"));
    Field("DpLimitD")->SetHint(QT_TRANSLATE_NOOP("Velk", "每米填料的湿塔压降上限，mbar/m。"));
    Check("CBConservative")->SetHint(QT_TRANSLATE_NOOP("Velk", "取三种泛点算法中最小的泛点气速设计塔径。"));
    Combo("DesignHetpD")->SetHelpContext(1023); // the help map's design-HETP topic
    Combo("DesignHetpD")
        ->SetHint(QT_TRANSLATE_NOOP(
            "Velk", "填料层高度采用的等板高度：本页模型、Rocha-Bravo-Fair模型或两者中较大者。"));
}

void CalcPage::AssignHandlers()
{
    // Handlers.
    auto exit = [this](TControl*) { LDExit(); };
    for (const char* n :
         {"LD",        "DlD",       "MlD",   "SLD",   "DlfD",  "AfD",   "DvfD",    "MvD",      "DvD",
          "VD",        "fpercentD", "PTD",   "LmdD",  "meD",   "alfD",  "UfMD",    "ProjectD", "DevicenameD",
          "DeviceNoD", "ProjPD",    "Edit1", "Edit2", "Edit3", "Edit4", "CommentD"})
        Control(n)->OnExit = exit;
    auto projectChange = [this](TControl*) { ProjectDChange(); };
    for (const char* n : {"LD", "VD", "ProjectD", "DevicenameD", "DeviceNoD", "ProjPD", "Edit1", "Edit2",
                          "Edit3", "Edit4", "CommentD"})
        Control(n)->OnChange = projectChange;
    for (const char* n : {"AfD", "fpercentD", "PTD"})
        Control(n)->OnChange = [this](TControl*) { AfDChange(); };
    Combo("UfMD")->OnChange = [this](TControl*) { UfMDChange(); };
    Check("CBLagrange")->OnClick = [this](TControl*) { UfMDChange(); };
    rating_->OnClick = [this](TControl*) { RatingChange(); };
    Field("StagesD")->OnExit = exit;
    Field("DpLimitD")->OnExit = exit;
    for (const char* n : kColumnFields)
        Field(n)->OnExit = exit;
    Combo("DesignBasisD")->OnChange = [this](TControl*) { AfDChange(); };
    Check("CBConservative")->OnClick = [this](TControl*) { AfDChange(); };
    Combo("DesignHetpD")->OnChange = [this](TControl*) { AfDChange(); };
    // dD takes input only while a given diameter is rated.
    Field("dD")->OnExit = [this](TControl*) {
        if (rating_->Checked()) LDExit();
    };
}
