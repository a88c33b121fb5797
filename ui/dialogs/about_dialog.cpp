#include "ui/dialogs/about_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/resources/string_table.h"
#include "platform/qt/qt_text.h"
#include "ui/seams/resources_init.h"

namespace kantoria {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    InitResources();
    setWindowTitle(ToQt(LoadString(IDS_ABOUT_CAPTION)));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/kantoria/icon128.xpm")));
    icon->setAlignment(Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    for (int id : {IDS_ABOUT_VERSION, IDS_ABOUT_PUBLISHER, IDS_ABOUT_ADDRESS}) {
        auto* line = new QLabel(ToQt(LoadString(id)), this);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        line->setObjectName(QStringLiteral("about%1").arg(id));
        texts->addWidget(line);
    }
    texts->addStretch(1);

    auto* ok = new QPushButton(ToQt(LoadString(IDS_BUTTON_OK)), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0);
    layout->addLayout(texts, 0, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kantoria
