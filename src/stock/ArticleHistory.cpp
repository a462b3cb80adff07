#include "stock/ArticleHistory.h"

#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "shell/Shop.h"
#include "stock/StockColumns.h"

#include <QHash>

#include <cmath>

namespace corvale {

namespace sc = stockColumns;

namespace {

const QString kReceipt = QStringLiteral("A");
const QString kReturn = QStringLiteral("R");
const QString kSale = QStringLiteral("V");

struct Header {
    QString partner;
    QString number;
    QString date;
    QString key;
};

// The headers of one document table by NUMREG, read in one pass.
QHash<qint64, Header> headers(db::Database &database, const QString &table, bool named) {
    QHash<qint64, Header> out;
    db::Table t(database);
    t.setTableName(table);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        try {
            out.insert(t.asInteger(doc::NUMREG),
                       Header{named ? t.asString(doc::RAGSOC) : QString(), t.asString(doc::NUMDOC),
                              t.asString(doc::DATADOC), t.asString(doc::MYDATA)});
        } catch (const db::Error &) {
            continue;
        }
    }
    return out;
}

} // namespace

ArticleHistory::ArticleHistory(Shop &shop)
    : m_shop(shop)
    , m_list(std::make_unique<db::Table>(shop.database())) {
    m_list->setTableName(sc::history);
    m_list->setIndexName(sc::CLIDATA);
}

ArticleHistory::~ArticleHistory() = default;

void ArticleHistory::load(qint64 key) {
    db::Database &database = m_shop.database();
    m_list->close();
    db::Table lines(database);
    lines.setTableName(sc::historyLines);
    lines.open();
    lines.emptyTable();

    double amount = 0;
    double quantity = 0;
    auto gather = [&](const QString &table, const QString &kind) {
        db::Table source(database);
        source.setTableName(table);
        source.open();
        const bool sale = kind == kSale;
        const int sign = kind == kReturn ? -1 : 1;
        for (source.first(); !source.eof(); source.next()) {
            try {
                if (source.asInteger(doc::NUMART) != key)
                    continue;
                const double q = source.asFloat(sheet::QUANTITA);
                const double price = source.asFloat(sc::PREZZO);
                amount += sign * source.asFloat(doc::IMPORTO);
                quantity += sign * q;
                lines.append();
                lines.setInteger(doc::NUMREG, source.asInteger(sale ? sc::NUMVEN : doc::NUMCAR));
                lines.setString(sc::ARCHIVIO, kind);
                if (sale)
                    lines.setFloat(sc::PREZZOV, price * (1 - source.asFloat(sheet::SCONTO) / 100));
                else
                    lines.setFloat(sc::PREZZOA, price);
                lines.setFloat(sheet::QUANTITA, q);
                lines.setString(sheet::COLORE, source.asString(sheet::COLORE));
                lines.setString(sheet::TAGLIA, source.asString(sheet::CTAGLIA));
                lines.post();
            } catch (const db::Error &) {
                if (lines.state() != db::Table::State::Browse)
                    lines.cancel();
            }
        }
    };
    gather(sc::receiptLines, kReceipt);
    gather(sc::returnLines, kReturn);
    m_averagePurchase = quantity != 0 ? amount / quantity : amount;
    amount = 0;
    quantity = 0;
    gather(sc::saleLines, kSale);
    m_averageSale = quantity != 0 ? amount / quantity : amount;

    struct Pass {
        QString kind;
        QHash<qint64, Header> headers;
        QString type;
        QString side;
        bool purchase;
    };
    const QString counterSale = QStringLiteral("VENDITA AL BANCO");
    QHash<qint64, Header> sales = headers(database, sc::sales, false);
    for (Header &h : sales)
        h.partner = counterSale;
    const Pass passes[] = {
        {kSale, headers(database, sc::invoices, true), QStringLiteral("F"), kSale, false},
        {kSale, sales, QStringLiteral("V"), kSale, false},
        {kReceipt, headers(database, sc::receipts, true), QStringLiteral("A"), kReceipt, true},
        {kReturn, headers(database, sc::returns, true), QStringLiteral("R"), kReceipt, true}};

    db::Table list(database);
    list.setTableName(sc::history);
    list.open();
    list.emptyTable();
    for (const Pass &pass : passes) {
        for (lines.first(); !lines.eof(); lines.next()) {
            if (lines.asString(sc::ARCHIVIO) != pass.kind)
                continue;
            const auto header = pass.headers.find(lines.asInteger(doc::NUMREG));
            if (header == pass.headers.end())
                continue;
            const double q = lines.asFloat(sheet::QUANTITA);
            list.append();
            list.setString(sc::CLIENTE, header->partner);
            list.setString(sc::TD, pass.side);
            list.setString(doc::TIPO, pass.type);
            list.setString(sc::NUMERO, header->number);
            list.setString(sc::DATA, header->date);
            list.setString(doc::MYDATA, header->key);
            list.setFloat(sheet::QUANTITA, pass.kind == kReturn ? -q : q);
            if (pass.purchase)
                list.setFloat(sc::PREZZOA, lines.asFloat(sc::PREZZOA));
            else
                list.setFloat(sc::PREZZOV, lines.asFloat(sc::PREZZOV));
            list.setString(sheet::COLORE, lines.asString(sheet::COLORE));
            list.setString(sheet::TAGLIA, lines.asString(sheet::TAGLIA));
            list.post();
        }
    }
    list.close();
    lines.close();
    m_list->open();
}

void ArticleHistory::close() {
    m_list->close();
}

QString ArticleHistory::viewFilter(Side side, const MovementPeriod &period, QDate today) {
    QString text = side == Side::Sales ? QStringLiteral("(TD<>'A')") : QStringLiteral("(TD='A')");
    if (period.kind != MovementPeriod::Kind::Any) {
        const QString format = QStringLiteral("yyyyMMdd");
        text += QStringLiteral(" AND (MYDATA >= '") + period.first(today).toString(format) +
                QStringLiteral("') AND (MYDATA <= '") + period.last(today).toString(format) +
                QStringLiteral("')");
    }
    return text;
}

double ArticleHistory::applyView(Side side, const MovementPeriod &period) {
    m_list->setFilter(viewFilter(side, period, m_shop.clock().today()));
    m_list->setFiltered(true);
    double total = 0;
    for (m_list->first(); !m_list->eof(); m_list->next())
        total += m_list->asFloat(sheet::QUANTITA);
    m_list->first();
    return total;
}

QString ArticleHistory::totalText(double quantity) {
    const bool fraction = std::fabs(quantity - std::round(quantity)) > 1e-9;
    return Formats::format(u"%8.*n", quantity, fraction ? 2 : 0).trimmed();
}

} // namespace corvale
