#include "UnitAbout.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TFormAbout* FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QCoreApplication::translate("Velk", "关于"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    auto* title = new QLabel(QCoreApplication::translate("Velk", "波纹规整填料塔流体力学(VELK)4.1版"), this);
    title->setObjectName(QStringLiteral("TitleLabel"));
    QFont f = title->font();
    f.setPixelSize(24);
    f.setBold(true);
    title->setFont(f);
    QPalette p = title->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    title->setPalette(p);
    auto* note = new QLabel(QCoreApplication::translate("Velk", "规整填料塔水力学与传质计算 (Linux 版)"), this);
    auto* ok = new QPushButton(QCoreApplication::translate("Velk", "确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(note);
    top->addLayout(texts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}
