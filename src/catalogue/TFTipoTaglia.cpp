#include "catalogue/TFTipoTaglia.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/SizeTypeCore.h"

#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace corvale {

namespace {

QString labelField(int position) {
    return QStringLiteral("TG%1").arg(position);
}

} // namespace

TFTipoTaglia::TFTipoTaglia(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFTipoTaglia"));
    setWindowTitle(QStringLiteral("Taglia"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto *band = new TitleBand(QStringLiteral("TAGLIA"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *nameBox = new CaptionBox(QStringLiteral("Nome Taglia"), this);
    nameBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *nameLayout = new QHBoxLayout(nameBox);
    m_name = new QLineEdit(nameBox);
    m_name->setObjectName(QStringLiteral("NomeTaglia"));
    m_name->setMaxLength(20);
    nameLayout->addWidget(m_name);
    nameLayout->addStretch();
    layout->addWidget(nameBox);

    auto *labelBox = new CaptionBox(QStringLiteral("Taglie"), this);
    labelBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *grid = new QGridLayout(labelBox);
    for (int n = 1; n <= 20; ++n) {
        const int row = (n - 1) / 10 * 2;
        const int column = (n - 1) % 10;
        auto *caption = new QLabel(QStringLiteral("Tg %1").arg(n), labelBox);
        auto *edit = new QLineEdit(labelBox);
        edit->setObjectName(QStringLiteral("Tg%1").arg(n));
        edit->setMaxLength(10);
        edit->setFixedWidth(56);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, column);
        grid->addWidget(edit, row + 1, column);
        m_labels << edit;
    }
    layout->addWidget(labelBox);

    // The sizes a colour must hold for its run to sell (broken size runs).
    auto *coreBox = new CaptionBox(QStringLiteral("Taglie principali"), this);
    coreBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *coreLayout = new QHBoxLayout(coreBox);
    auto coreSpin = [&](const char *name, const QString &caption) {
        auto *spin = new QSpinBox(coreBox);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(0, 20);
        spin->setPrefix(QStringLiteral("Tg "));
        spin->setSpecialValueText(QStringLiteral("tutte"));
        auto *label = new QLabel(caption, coreBox);
        label->setBuddy(spin);
        coreLayout->addWidget(label);
        coreLayout->addWidget(spin);
        return spin;
    };
    m_coreFrom = coreSpin("NucleoDa", QStringLiteral("dalla"));
    m_coreTo = coreSpin("NucleoA", QStringLiteral("alla"));
    coreLayout->addStretch();
    layout->addWidget(coreBox);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_save = new QPushButton(QStringLiteral("Salva"), this);
    m_save->setObjectName(QStringLiteral("BSalva"));
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("BAnnulla"));
    for (QPushButton *b : {m_save, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_save, &QPushButton::clicked, this, &TFTipoTaglia::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &TFTipoTaglia::BAnnullaClick);
    connect(m_name, &QLineEdit::textChanged, this, &TFTipoTaglia::updateSaveEnabled);
    FocusHighlighter::install(this);
}

TFTipoTaglia::~TFTipoTaglia() = default;

void TFTipoTaglia::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFTipoTaglia::FormActivate() {
    SizeTypeName.clear();
    m_new = SizeTypeKey == 0;
    const bool opened = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_table = std::make_unique<db::Table>(m_shop.database());
        m_table->setTableName(QStringLiteral("TAGLIE.DBF"));
        m_table->setIndexName(QStringLiteral("NUMREG"));
        m_table->open();
        if (m_new) {
            // Only foreseen: a cancelled card must not use up a number.
            SizeTypeKey = m_shop.routines().NextCounter(QStringLiteral("TAGLIE"), false);
            m_table->append();
        } else if (m_table->findKey(SizeTypeKey)) {
            m_table->edit();
        } else {
            m_shop.prompter().error(
                QStringLiteral("La taglia %1 non è presente in archivio.").arg(SizeTypeKey));
            return false;
        }
        return true;
    });
    if (!opened) {
        reject();
        return;
    }
    m_name->setText(m_table->asString(articleColumns::description));
    for (int n = 1; n <= 20; ++n)
        m_labels[n - 1]->setText(m_table->asString(labelField(n)));
    const bool hasCore = m_table->hasField(articleColumns::coreFrom);
    m_coreFrom->setValue(hasCore ? int(m_table->asInteger(articleColumns::coreFrom)) : 0);
    m_coreTo->setValue(hasCore ? int(m_table->asInteger(articleColumns::coreTo)) : 0);
    updateSaveEnabled();
    m_name->setFocus();
}

void TFTipoTaglia::updateSaveEnabled() {
    m_save->setEnabled(!m_name->text().trimmed().isEmpty());
}

void TFTipoTaglia::BSalvaClick() {
    if (!m_table || !m_table->isOpen() || m_name->text().trimmed().isEmpty())
        return;
    bool anyLabel = false;
    for (QLineEdit *e : std::as_const(m_labels))
        anyLabel = anyLabel || !e->text().trimmed().isEmpty();
    if (!anyLabel) {
        m_shop.prompter().error(QStringLiteral("Inserire almeno una taglia!"));
        m_labels.first()->setFocus();
        return;
    }
    std::array<QString, SizeTypeCore::positions> labels;
    for (int n = 1; n <= 20; ++n)
        labels[size_t(n - 1)] = m_labels[n - 1]->text();
    if (const auto problem =
            SizeTypeCore::rangeProblem(labels, m_coreFrom->value(), m_coreTo->value())) {
        m_shop.prompter().error(*problem);
        m_coreFrom->setFocus();
        return;
    }
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            m_table->setString(articleColumns::description, m_name->text());
            if (m_table->hasField(articleColumns::coreFrom)) {
                m_table->setInteger(articleColumns::coreFrom, m_coreFrom->value());
                m_table->setInteger(articleColumns::coreTo, m_coreTo->value());
            }
            for (int n = 1; n <= 20; ++n)
                m_table->setString(labelField(n), m_labels[n - 1]->text());
            if (m_new) {
                SizeTypeKey = m_shop.routines().NextCounter(QStringLiteral("TAGLIE"), true);
                m_table->setInteger(articleColumns::key, SizeTypeKey);
            }
            m_table->post();
            SizeTypeName = m_table->asString(articleColumns::description);
        })) {
        return;
    }
    m_table->close();
    m_table.reset();
    accept();
}

void TFTipoTaglia::BAnnullaClick() {
    reject();
}

void TFTipoTaglia::done(int result) {
    if (result != QDialog::Accepted) {
        SizeTypeKey = 0;
        SizeTypeName.clear();
    }
    if (m_table) {
        m_table->cancel();
        m_table->close();
        m_table.reset();
    }
    QDialog::done(result);
}

} // namespace corvale
