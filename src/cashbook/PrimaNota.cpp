#include "cashbook/PrimaNota.h"

#include "cashbook/RegisterTotals.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "platform/Money.h"
#include "sales/SaleColumns.h"
#include "shell/CommonRoutines.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace corvale {

using namespace cashbook;

namespace {

// The day table fixes the longest period: four calendar years.
constexpr int maxYears = 4;

// Sums of one source's takings per book (cash, bank), year offset, month, day.
struct DayTable {
    double sum[2][maxYears][12][31];
    DayTable() { std::memset(sum, 0, sizeof sum); }
};

int salesBook(const db::Table &t) {
    return t.asBool(ISBANCA) ? int(Book::Bank) : int(Book::Cash);
}

// The takings of one sale per book (cash, bank): where the sale keeps how it
// was paid, its cash part and its card part (a voucher is money of neither
// book); otherwise its whole total in the book "Versamento in Banca" says.
std::array<double, 2> takings(const db::Table &t, bool split) {
    if (split) {
        const double cash = t.asFloat(saleColumns::paidCash);
        const double card = t.asFloat(saleColumns::paidCard);
        if (cash != 0 || card != 0 || t.asFloat(saleColumns::paidVoucher) != 0)
            return {cash, card};
    }
    std::array<double, 2> out{0, 0};
    out[salesBook(t)] = t.asFloat(TOTALE);
    return out;
}

// Two digits of a date key as a number, -1 when they are not digits.
int digits(const QString &key, int at, int count) {
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        const QChar c = key.at(i);
        if (!c.isDigit())
            return -1;
        value = value * 10 + c.digitValue();
    }
    return value;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

PrimaNota::PrimaNota(db::Database &database)
    : m_db(database) {}

PrimaNota::Period PrimaNota::checkPeriod(QString &fromText, const QString &toText) {
    // A date that cannot be read would give the key "errore", which sorts after
    // every date and so would turn the whole archive into the carried line.
    if (!Formats::parseDate(fromText) || !Formats::parseDate(toText))
        return Period::InvalidDate;
    QString from = CommonRoutines::DateKey(fromText);
    const QString to = CommonRoutines::DateKey(toText);
    if (from > to) {
        fromText = toText;
        from = to;
    }
    if (to.left(4).toInt() - from.left(4).toInt() > maxYears - 1)
        return Period::TooLong;
    return Period::Valid;
}

QString PrimaNota::periodMessage(Period period) {
    switch (period) {
    case Period::InvalidDate:
        return QStringLiteral("Data non valida!");
    case Period::TooLong:
        return QStringLiteral("L'intervallo massimo è 4 anni");
    case Period::Valid:
        break;
    }
    return {};
}

bool PrimaNota::openByDate(db::Table &table, const QString &name, const QString &from,
                           const QString &to, const std::function<void(db::Table &)> &carried) {
    table.setTableName(name);
    table.open();
    if (!table.indexNames().contains(MYDATA, Qt::CaseInsensitive)) {
        table.first();
        return false;
    }
    // On the date tag the records before the period are summed without their
    // key being read (the keys have a fixed width, so "before `from`" is the
    // range up to `from` with its last character one lower), and the walk
    // over the period stops at "AL".
    table.setIndexName(MYDATA);
    QString before = from;
    before[before.size() - 1] = QChar(before.at(before.size() - 1).unicode() - 1);
    table.setRange(QString(), before);
    for (table.first(); !table.eof(); table.next())
        carried(table);
    table.setRange(from, to);
    table.first();
    return true;
}

void PrimaNota::addTakings(const QString &tableName, const QString &text, const QString &from,
                           const QString &to, int firstYear, PrimaNotaContent &content) {
    auto days = std::make_unique<DayTable>();
    db::Table t(m_db);
    bool split = false;
    auto carry = [&](const db::Table &r) {
        const auto in = takings(r, split);
        content.carriedIn[0] += in[0];
        content.carriedIn[1] += in[1];
    };
    openByDate(t, tableName, from, to, [&](db::Table &r) {
        split = r.hasField(saleColumns::paidCard);
        carry(r);
    });
    split = t.hasField(saleColumns::paidCard);
    for (; !t.eof(); t.next()) {
        const QString key = t.asString(MYDATA);
        if (key < from) {
            carry(t);
            continue;
        }
        if (key > to || key.size() < 8)
            continue;
        const int year = digits(key, 0, 4) - firstYear;
        const int month = digits(key, 4, 2);
        const int day = digits(key, 6, 2);
        if (year < 0 || year >= maxYears || month < 1 || month > 12 || day < 1 || day > 31)
            continue;
        const auto in = takings(t, split);
        for (int book : {0, 1})
            days->sum[book][year][month - 1][day - 1] += in[book];
    }
    for (int year = 0; year < maxYears; ++year) {
        for (int month = 0; month < 12; ++month) {
            for (int day = 0; day < 31; ++day) {
                const double cash = roundToCents(days->sum[0][year][month][day]);
                const double bank = roundToCents(days->sum[1][year][month][day]);
                if (cash == 0 && bank == 0)
                    continue;
                PrimaNotaLine line;
                line.description = text;
                line.date = twoDigits(day + 1) + QLatin1Char('/') + twoDigits(month + 1) +
                            QLatin1Char('/') + QString::number(firstYear + year);
                line.key = CommonRoutines::DateKey(line.date);
                line.in[0] = cash;
                line.in[1] = bank;
                content.lines << line;
                content.periodIn[0] += cash;
                content.periodIn[1] += bank;
            }
        }
    }
}

void PrimaNota::addInvoices(const QString &from, const QString &to, PrimaNotaContent &content) {
    db::Table t(m_db);
    auto carry = [&](const db::Table &r) { content.carriedIn[salesBook(r)] += r.asFloat(TOTALE); };
    openByDate(t, invoices, from, to, carry);
    for (; !t.eof(); t.next()) {
        const QString key = t.asString(MYDATA);
        const int book = salesBook(t);
        const double total = t.asFloat(TOTALE);
        if (key < from) {
            carry(t);
        } else if (key <= to) {
            PrimaNotaLine line;
            line.description = QStringLiteral("Fattura N° ") + t.asString(NUMDOC) +
                               QStringLiteral(" (") + t.asString(RAGSOC) + QLatin1Char(')');
            line.date = t.asString(DATADOC);
            line.key = key;
            line.in[book] = total;
            content.lines << line;
            content.periodIn[book] += total;
        }
    }
}

void PrimaNota::addPayments(const QString &from, const QString &to, PrimaNotaContent &content) {
    // Read in record order, one guard for the period and before it: the
    // payments have no date tag in the program's folders, and a second way
    // through them would be one no shop ever takes.
    db::Table t(m_db);
    t.setTableName(payments);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        // Customers' deposits are not money of the books.
        if (t.asBool(ISCLIENTE))
            continue;
        const double paid = t.asFloat(ACCONTO);
        if (paid == 0)
            continue;
        const QString key = t.asString(MYDATA);
        const int book = salesBook(t);
        if (key < from) {
            content.carriedOut[book] += paid;
        } else if (key <= to) {
            PrimaNotaLine line;
            line.description = t.asString(COMMENTO) + QStringLiteral(" (") + t.asString(CLIENTE) +
                               QLatin1Char(')');
            line.date = t.asString(DATA);
            line.key = key;
            line.out[book] = paid;
            content.lines << line;
            content.periodOut[book] += paid;
        }
    }
}

void PrimaNota::addBook(int book, const QString &from, const QString &to,
                        PrimaNotaContent &content) {
    db::Table t(m_db);
    auto carry = [&](const db::Table &r) {
        content.carriedIn[book] += r.asFloat(IMPORTOI);
        content.carriedOut[book] += r.asFloat(IMPORTOU);
    };
    openByDate(t, bookTable(book), from, to, carry);
    for (; !t.eof(); t.next()) {
        const QString key = t.asString(MYDATA);
        const double in = t.asFloat(IMPORTOI);
        const double out = t.asFloat(IMPORTOU);
        if (key < from) {
            carry(t);
        } else if (key <= to) {
            PrimaNotaLine line;
            line.description = t.asString(DESCRIZION);
            line.date = t.asString(DATA);
            line.key = key;
            line.in[book] = in;
            line.out[book] = out;
            content.lines << line;
            content.periodIn[book] += in;
            content.periodOut[book] += out;
        }
    }
}

PrimaNotaContent PrimaNota::gather(const QString &fromText, const QString &toText) {
    PrimaNotaContent content;
    content.fromText = fromText;
    content.toText = toText;
    const QString from = CommonRoutines::DateKey(fromText);
    const QString to = CommonRoutines::DateKey(toText);
    const int firstYear = from.left(4).toInt();

    addTakings(counterSales, QStringLiteral("Incasso con Vendite al Banco"), from, to, firstYear,
               content);
    addTakings(receipts, QStringLiteral("Incasso con Ricevute Fiscali"), from, to, firstYear,
               content);
    addInvoices(from, to, content);
    addPayments(from, to, content);
    for (int book = 0; book < bookCount; ++book)
        addBook(book, from, to, content);
    content.registerDays = RegisterTotals(m_db).days(from, to);

    for (BookAmounts *sums :
         {&content.carriedIn, &content.carriedOut, &content.periodIn, &content.periodOut})
        for (double &sum : *sums)
            sum = roundToCents(sum);

    // Index order: by date key; lines of one day keep the order of the sources.
    std::stable_sort(content.lines.begin(), content.lines.end(),
                     [](const PrimaNotaLine &a, const PrimaNotaLine &b) { return a.key < b.key; });
    PrimaNotaLine carried;
    carried.description = QStringLiteral("PARZIALI PRIMA DEL ") + fromText;
    carried.key = carriedKey;
    carried.in = content.carriedIn;
    carried.out = content.carriedOut;
    PrimaNotaLine period;
    period.description =
        QStringLiteral("PARZIALI DAL ") + fromText + QStringLiteral(" AL ") + toText;
    period.key = periodKey;
    period.in = content.periodIn;
    period.out = content.periodOut;
    content.lines.prepend(carried);
    content.lines.append(period);
    return content;
}

void PrimaNota::write(const PrimaNotaContent &content) {
    db::Table t(m_db);
    t.setTableName(primaNota);
    t.open();
    try {
        t.emptyTable();
        for (const PrimaNotaLine &line : content.lines) {
            t.append();
            t.setString(DATA, line.date);
            t.setString(DESCRIZION, line.description);
            t.setString(MYDATA, line.key);
            const bool partial = line.key == carriedKey || line.key == periodKey;
            for (int book = 0; book < bookCount; ++book) {
                // The partial totals show their zeros; dated lines only their amounts.
                if (partial || line.in[book] != 0)
                    t.setFloat(moneyIn(book), line.in[book]);
                if (partial || line.out[book] != 0)
                    t.setFloat(moneyOut(book), line.out[book]);
            }
            t.post();
        }
    } catch (const db::Error &e) {
        QString outcome = QStringLiteral("La Prima Nota è stata svuotata.");
        try {
            t.emptyTable();
        } catch (const db::Error &) {
            outcome = QStringLiteral("Non è stato possibile svuotare la Prima Nota.");
        }
        throw db::Error(QStringLiteral("Errore nella ricostruzione della Prima Nota: ") +
                        e.message() + QLatin1Char('\r') + outcome);
    }
}

} // namespace corvale
