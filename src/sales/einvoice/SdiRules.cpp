#include "sales/einvoice/SdiRules.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <memory>
#include <optional>

namespace corvale {

namespace {

// Enough of the file's tree for the rules: element names, texts, children.
struct Node {
    QString name;
    QString text;
    QString attribute; // "versione" of the root
    std::vector<std::unique_ptr<Node>> children;

    const Node *child(const QString &n) const {
        for (const auto &c : children) {
            if (c->name == n)
                return c.get();
        }
        return nullptr;
    }
    QList<const Node *> all(const QString &n) const {
        QList<const Node *> out;
        for (const auto &c : children) {
            if (c->name == n)
                out << c.get();
        }
        return out;
    }
    // A descendant by path "A/B/C"; nullptr when missing.
    const Node *at(const QString &path) const {
        const Node *n = this;
        for (const QString &part : path.split(u'/')) {
            n = n->child(part);
            if (!n)
                return nullptr;
        }
        return n;
    }
    QString value(const QString &path) const {
        const Node *n = at(path);
        return n ? n->text.trimmed() : QString();
    }
    bool has(const QString &path) const { return at(path) != nullptr; }
};

std::unique_ptr<Node> parse(const QByteArray &xml) {
    QXmlStreamReader reader(xml);
    auto root = std::make_unique<Node>();
    std::vector<Node *> stack{root.get()};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            auto n = std::make_unique<Node>();
            n->name = reader.name().toString();
            n->attribute = reader.attributes().value(QStringLiteral("versione")).toString();
            Node *raw = n.get();
            stack.back()->children.push_back(std::move(n));
            stack.push_back(raw);
        } else if (reader.isEndElement()) {
            stack.pop_back();
        } else if (reader.isCharacters() && stack.size() > 1) {
            stack.back()->text += reader.text();
        }
    }
    if (reader.hasError())
        return nullptr;
    return root;
}

// A decimal text as an integer of 1e-8 units; nothing when not a number.
std::optional<qint64> fixed(const QString &text) {
    static const QRegularExpression number(QStringLiteral("^(-?)(\\d{1,12})(?:\\.(\\d{1,8}))?$"));
    const auto m = number.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const qint64 whole = m.captured(2).toLongLong();
    const qint64 fraction = m.captured(3).leftJustified(8, u'0').toLongLong();
    const qint64 v = whole * 100000000LL + fraction;
    return m.captured(1).isEmpty() ? v : -v;
}

using Wide = __int128;

Wide roundDiv(Wide a, Wide b) {
    const Wide half = b / 2;
    return a >= 0 ? (a + half) / b : -((-a + half) / b);
}

constexpr qint64 cent = 1000000; // in 1e-8 units

QString percent(qint64 rate) {
    QString s = QString::number(double(rate) / 1e8, 'f', 2);
    if (s.endsWith(QLatin1String(".00")))
        s.chop(3);
    return s.replace(u'.', u',') + QStringLiteral(" %");
}

// The key a line or a summary is grouped by: its rate and nature.
QString groupKey(qint64 rate, const QString &nature) {
    return QString::number(rate) + u'|' + nature;
}

class Checker {
public:
    explicit Checker(const Node &root)
        : m_root(root) {}

    QList<SdiRules::Problem> run() {
        const Node *fe = m_root.child(QStringLiteral("FatturaElettronica"));
        if (!fe) {
            add(QString(), QStringLiteral("Il file non è una fattura elettronica."));
            return m_out;
        }
        transmission(*fe);
        buyer(*fe);
        for (const Node *body : fe->all(QStringLiteral("FatturaElettronicaBody")))
            this->body(*body);
        return m_out;
    }

private:
    void add(const QString &code, const QString &message) {
        m_out << SdiRules::Problem{code, message};
    }

    void transmission(const Node &fe) {
        const QString format = fe.value(
            QStringLiteral("FatturaElettronicaHeader/DatiTrasmissione/FormatoTrasmissione"));
        const QString recipient = fe.value(
            QStringLiteral("FatturaElettronicaHeader/DatiTrasmissione/CodiceDestinatario"));
        const bool pec =
            fe.has(QStringLiteral("FatturaElettronicaHeader/DatiTrasmissione/PECDestinatario"));
        if (pec && recipient != QLatin1String("0000000"))
            add(QStringLiteral("00426"),
                QStringLiteral("La PEC del cliente si indica solo con il codice destinatario "
                               "0000000: nella scheda del cliente lasciare vuoto \"PEC\" oppure "
                               "\"Codice destinatario\"."));
        if ((format == QLatin1String("FPR12") && recipient.size() != 7) ||
            (format == QLatin1String("FPA12") && recipient.size() != 6))
            add(QStringLiteral("00427"),
                QStringLiteral("Codice destinatario di 7 caratteri: correggere \"Codice "
                               "destinatario\" nella scheda del cliente."));
        if (format != fe.attribute)
            add(QStringLiteral("00428"),
                QStringLiteral("Il formato di trasmissione (%1) non corrisponde alla versione "
                               "del file (%2).")
                    .arg(format, fe.attribute));
    }

    void buyer(const Node &fe) {
        const Node *registry =
            fe.at(QStringLiteral("FatturaElettronicaHeader/CessionarioCommittente/DatiAnagrafici"));
        if (!registry || (!registry->has(QStringLiteral("IdFiscaleIVA")) &&
                          !registry->has(QStringLiteral("CodiceFiscale"))))
            add(QStringLiteral("00417"),
                QStringLiteral("Manca il codice fiscale o la partita IVA del cliente: compilare "
                               "\"Codice fiscale\" o \"Partita IVA\" nella scheda del cliente."));
    }

    void nature(const QString &nature, const QString &where) {
        if (nature == QLatin1String("N2") || nature == QLatin1String("N3") ||
            nature == QLatin1String("N6"))
            add(QStringLiteral("00445"),
                QStringLiteral("%1: la natura %2 non è più ammessa, scegliere il codice di "
                               "dettaglio (per esempio %2.2) in Configurazione, \"Dati fiscali\".")
                    .arg(where, nature));
    }

    void discounts(const QList<const Node *> &items, const QString &code, const QString &where) {
        for (const Node *d : items) {
            if (!d->value(QStringLiteral("Tipo")).isEmpty() &&
                !d->has(QStringLiteral("Percentuale")) && !d->has(QStringLiteral("Importo")))
                add(code, QStringLiteral("%1: lo sconto non ha né la percentuale né "
                                         "l'importo.")
                              .arg(where));
        }
    }

    void body(const Node &body) {
        const Node *general = body.at(QStringLiteral("DatiGenerali/DatiGeneraliDocumento"));
        if (general) {
            static const QRegularExpression digit(QStringLiteral("\\d"));
            if (!general->value(QStringLiteral("Numero")).contains(digit))
                add(QStringLiteral("00425"),
                    QStringLiteral("Il numero della fattura deve contenere almeno una cifra: "
                                   "correggere \"Numero\" nella fattura."));
            discounts(general->all(QStringLiteral("ScontoMaggiorazione")), QStringLiteral("00437"),
                      QStringLiteral("Sconto sul documento"));
        }
        const Node *goods = body.child(QStringLiteral("DatiBeniServizi"));
        if (!goods)
            return;

        QMap<QString, Wide> lineSums; // by rate and nature, in 1e-8
        QSet<qint64> lineRates;
        QSet<QString> lineNatures;
        for (const Node *line : goods->all(QStringLiteral("DettaglioLinee"))) {
            const QString where =
                QStringLiteral("Riga %1").arg(line->value(QStringLiteral("NumeroLinea")));
            const qint64 rate = fixed(line->value(QStringLiteral("AliquotaIVA"))).value_or(0);
            const QString nat = line->value(QStringLiteral("Natura"));
            if (rate == 0 && nat.isEmpty())
                add(QStringLiteral("00400"),
                    QStringLiteral("%1: una riga senza IVA vuole la natura dell'operazione: "
                                   "sceglierla in Configurazione, \"Dati fiscali\", \"Natura "
                                   "delle righe senza IVA\".")
                        .arg(where));
            if (rate != 0 && !nat.isEmpty())
                add(QStringLiteral("00401"),
                    QStringLiteral("%1: una riga con IVA non può avere la natura %2.")
                        .arg(where, nat));
            nature(nat, where);
            discounts(line->all(QStringLiteral("ScontoMaggiorazione")), QStringLiteral("00438"),
                      where);
            lineRates.insert(rate);
            if (!nat.isEmpty())
                lineNatures.insert(nat);

            // PrezzoTotale = PrezzoUnitario x Quantita, less discounts, plus surcharges.
            const qint64 unit = fixed(line->value(QStringLiteral("PrezzoUnitario"))).value_or(0);
            const qint64 quantity = line->has(QStringLiteral("Quantita"))
                                        ? fixed(line->value(QStringLiteral("Quantita"))).value_or(0)
                                        : 100000000LL;
            const qint64 total = fixed(line->value(QStringLiteral("PrezzoTotale"))).value_or(0);
            Wide expected = roundDiv(Wide(unit) * quantity, 100000000LL);
            for (const Node *d : line->all(QStringLiteral("ScontoMaggiorazione"))) {
                const bool surcharge = d->value(QStringLiteral("Tipo")) == QLatin1String("MG");
                if (d->has(QStringLiteral("Percentuale"))) {
                    const Wide p = fixed(d->value(QStringLiteral("Percentuale"))).value_or(0);
                    const Wide change = roundDiv(expected * p, Wide(10000000000LL));
                    expected += surcharge ? change : -change;
                } else if (d->has(QStringLiteral("Importo"))) {
                    const Wide amount = fixed(d->value(QStringLiteral("Importo"))).value_or(0);
                    // An amount is per unit.
                    const Wide change = roundDiv(amount * quantity, 100000000LL);
                    expected += surcharge ? change : -change;
                }
            }
            const Wide difference = expected - total;
            if (difference > cent || difference < -cent)
                add(QStringLiteral("00423"),
                    QStringLiteral("%1: l'importo non è la quantità per il prezzo meno lo sconto.")
                        .arg(where));
            lineSums[groupKey(rate, nat)] += total;
        }

        QSet<qint64> summaryRates;
        QSet<QString> summaryNatures;
        for (const Node *s : goods->all(QStringLiteral("DatiRiepilogo"))) {
            const qint64 rate = fixed(s->value(QStringLiteral("AliquotaIVA"))).value_or(0);
            const QString nat = s->value(QStringLiteral("Natura"));
            const QString where = QStringLiteral("Riepilogo IVA al %1").arg(percent(rate));
            summaryRates.insert(rate);
            if (!nat.isEmpty())
                summaryNatures.insert(nat);
            if (rate == 0 && nat.isEmpty())
                add(QStringLiteral("00429"),
                    QStringLiteral("%1: manca la natura dell'operazione: sceglierla in "
                                   "Configurazione, \"Dati fiscali\".")
                        .arg(where));
            if (rate != 0 && !nat.isEmpty())
                add(QStringLiteral("00430"),
                    QStringLiteral("%1: un riepilogo con IVA non può avere la natura %2.")
                        .arg(where, nat));
            nature(nat, where);
            const qint64 taxable = fixed(s->value(QStringLiteral("ImponibileImporto"))).value_or(0);
            const qint64 tax = fixed(s->value(QStringLiteral("Imposta"))).value_or(0);
            const qint64 rounding = fixed(s->value(QStringLiteral("Arrotondamento"))).value_or(0);
            // Imposta = ImponibileImporto x AliquotaIVA / 100, to the cent.
            const Wide expectedTax =
                roundDiv(roundDiv(Wide(taxable) * rate, Wide(10000000000LL)), cent) * cent;
            if (expectedTax - tax > cent || tax - expectedTax > cent)
                add(QStringLiteral("00421"),
                    QStringLiteral("%1: l'imposta non è l'imponibile per l'aliquota.").arg(where));
            // ImponibileImporto = the sum of its lines' PrezzoTotale + Arrotondamento.
            const Wide sum = lineSums.value(groupKey(rate, nat)) + rounding;
            if (sum - taxable > cent || taxable - sum > cent)
                add(QStringLiteral("00422"),
                    QStringLiteral("%1: l'imponibile non è la somma delle sue righe.").arg(where));
        }
        for (qint64 rate : lineRates) {
            if (!summaryRates.contains(rate))
                add(QStringLiteral("00419"),
                    QStringLiteral("Manca il riepilogo dell'IVA al %1 delle righe.")
                        .arg(percent(rate)));
        }
        for (qint64 rate : summaryRates) {
            if (!lineRates.contains(rate))
                add(QStringLiteral("00443"),
                    QStringLiteral("Il riepilogo dell'IVA al %1 non ha righe a quell'aliquota.")
                        .arg(percent(rate)));
        }
        if (lineNatures != summaryNatures)
            add(QStringLiteral("00444"),
                QStringLiteral("Le nature delle righe non corrispondono a quelle del riepilogo "
                               "IVA."));
    }

    const Node &m_root;
    QList<SdiRules::Problem> m_out;
};

} // namespace

const QStringList &SdiRules::codes() {
    static const QStringList list = {
        QStringLiteral("00400"), QStringLiteral("00401"), QStringLiteral("00417"),
        QStringLiteral("00419"), QStringLiteral("00421"), QStringLiteral("00422"),
        QStringLiteral("00423"), QStringLiteral("00425"), QStringLiteral("00426"),
        QStringLiteral("00427"), QStringLiteral("00428"), QStringLiteral("00429"),
        QStringLiteral("00430"), QStringLiteral("00437"), QStringLiteral("00438"),
        QStringLiteral("00443"), QStringLiteral("00444"), QStringLiteral("00445")};
    return list;
}

QList<SdiRules::Problem> SdiRules::check(const QByteArray &xml) {
    const auto root = parse(xml);
    if (!root)
        return {Problem{QString(), QStringLiteral("Il file non è XML leggibile.")}};
    return Checker(*root).run();
}

} // namespace corvale
