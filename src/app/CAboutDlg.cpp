#include "CAboutDlg.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "Bitmaps.h"
#include "DialogUnits.h"
#include "Version.h"

namespace velmora::app {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Velmora"));
    const ui::DialogUnits units(font());
    setFixedSize(units.X(299), units.Y(55));

    auto* icon = new QLabel(this);
    icon->setPixmap(ui::AppIcon());
    units.Place(icon, 11, 17, 20, 20);

    auto* version = new QLabel(QStringLiteral("Velmora Version " VELMORA_VERSION), this);
    version->setTextFormat(Qt::PlainText);
    units.Place(version, 40, 14, 119, 8);

    auto* rights = new QLabel(QStringLiteral("Copyright (C) 2004 The Velmora developers"), this);
    rights->setTextFormat(Qt::PlainText);
    units.Place(rights, 40, 26, 160, 8);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    units.Place(ok, 243, 7, 50, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace velmora::app
