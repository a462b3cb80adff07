#include "shell/TFAboutr.h"

#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvale {

TFAboutr::TFAboutr(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFAboutr"));
    setWindowTitle(QStringLiteral("Info su CORVALE QUIRA"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    auto *band = new TitleBand(QStringLiteral("CORVALE QUIRA"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    bold.setPointSize(11);
    m_name1 = new QLabel(this);
    m_name1->setObjectName(QStringLiteral("RAGIONE"));
    m_name1->setFont(bold);
    m_name2 = new QLabel(this);
    m_name2->setObjectName(QStringLiteral("RAGION2"));
    for (QLabel *l : {m_name1, m_name2}) {
        l->setAlignment(Qt::AlignCenter);
        l->setTextFormat(Qt::PlainText);
        layout->addWidget(l);
    }
    auto *credits =
        new QLabel(QStringLiteral("CORVALE QUIRA - Gestione negozio abbigliamento e calzature\n"
                                  "Versione %1\n\n"
                                  "Realizzato dal gruppo di sviluppo CORVALE.\n"
                                  "Tutti i diritti riservati.")
                       .arg(QStringLiteral(CORVALE_VERSION_TEXT)),
                   this);
    credits->setObjectName(QStringLiteral("credits"));
    credits->setAlignment(Qt::AlignCenter);
    layout->addSpacing(12);
    layout->addWidget(credits);
    layout->addSpacing(12);
    auto *close = new QPushButton(QStringLiteral("CHIUDI"), this);
    close->setObjectName(QStringLiteral("CHIUDI"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    setFixedSize(420, 300);
    refresh();
}

void TFAboutr::refresh() {
    m_name1->setText(m_shop.texts().nameLine1);
    m_name2->setText(m_shop.texts().nameLine2);
}

} // namespace corvale
