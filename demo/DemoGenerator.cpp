// Deterministic generator of the demo back office.
//
// The data covers the months around a given day: holdings on every month end from 17 months
// before that day's month to one month after it, trades and income from the history month
// on. Clients hold positions under contracts; every position is simulated month by month
// from a few planned trades, and its holdings, income and repayments follow from those
// trades, so the tables agree with each other. A fixed set of showcase clients guarantees
// that every case the report distinguishes occurs in the month before the given day (the
// period the main window proposes); the scale multiplies the random clients on top of them.

#include "demo/DemoBackOffice.h"
#include "demo/DemoCatalog.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

namespace demo {
namespace {

using namespace catalog;

/// A generation failure; carries the message for the caller's error text.
struct GenerationError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// splitmix64: small, fast and the same on every platform. Distributions are our own.
class Rng {
public:
    explicit Rng(quint32 seed) : m_state(0x5EED0000DE110000ull ^ seed) {}

    quint64 next() {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    /// A whole number from 0 to n - 1.
    int below(int n) { return n <= 1 ? 0 : int(next() % quint64(n)); }
    /// A whole number from lo to hi, both included.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    /// A number from 0 (included) to 1 (excluded).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    /// An index into weights, chosen in proportion to them.
    template <class Weights> int weighted(const Weights& weights) {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = below(total);
        int i = 0;
        for (int w : weights) {
            if (r < w) return i;
            r -= w;
            ++i;
        }
        return i - 1;
    }

private:
    quint64 m_state;
};

double round2(double x) {
    return std::round(x * 100.0) / 100.0;
}
double round4(double x) {
    return std::round(x * 10000.0) / 10000.0;
}
double round6(double x) {
    return std::round(x * 1000000.0) / 1000000.0;
}

bool isWeekend(const QDate& d) {
    return d.dayOfWeek() >= 6;
}

QDate addBusinessDays(QDate d, int n) {
    while (n > 0) {
        d = d.addDays(1);
        if (!isWeekend(d)) --n;
    }
    return d;
}

QDate previousBusinessDay(QDate d) {
    do
        d = d.addDays(-1);
    while (isWeekend(d));
    return d;
}

QDate monthEnd(const QDate& firstOfMonth) {
    return QDate(firstOfMonth.year(), firstOfMonth.month(), firstOfMonth.daysInMonth());
}

/// Prepared INSERT reused for every row of one table.
class Inserter {
public:
    Inserter(QSqlDatabase& db, const QString& table, const QStringList& columns)
        : m_query(db), m_table(table) {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        if (!m_query.prepare(sql))
            throw GenerationError(
                QStringLiteral("cannot prepare %1: %2").arg(sql, m_query.lastError().text()).toStdString());
    }

    void row(std::initializer_list<QVariant> values) {
        int i = 0;
        for (const QVariant& v : values)
            m_query.bindValue(i++, v);
        if (!m_query.exec())
            throw GenerationError(QStringLiteral("cannot insert into %1: %2")
                                      .arg(m_table, m_query.lastError().text())
                                      .toStdString());
        ++m_rows;
    }

    int rows() const { return m_rows; }

private:
    QSqlQuery m_query;
    QString m_table;
    int m_rows = 0;
};

QVariant nullable(const char* text) {
    return text ? QVariant(QString::fromUtf8(text)) : QVariant();
}
QVariant nullable(const QString& text, bool isNull) {
    return isNull ? QVariant() : QVariant(text);
}

// ------------------------------------------------------------------------------------------
// Clients

enum class Profile {
    HomeHousehold,
    HomeNonProfit,
    HomeCompany,
    HomeFinancial,
    HomeGovernment,
    ForeignHousehold,
    ForeignCompany,
    Unsectored,
};

struct ProfileShare {
    Profile profile;
    int perScale; ///< clients of this kind per unit of scale
};

inline constexpr std::array kProfileMix = {
    ProfileShare{Profile::HomeHousehold, 22}, ProfileShare{Profile::HomeNonProfit, 2},
    ProfileShare{Profile::HomeCompany, 6},    ProfileShare{Profile::HomeFinancial, 6},
    ProfileShare{Profile::HomeGovernment, 4}, ProfileShare{Profile::ForeignHousehold, 5},
    ProfileShare{Profile::ForeignCompany, 5}, ProfileShare{Profile::Unsectored, 2},
};

const char* const kHomeSurnames[] = {"Novak",  "Horvat", "Kovačič",   "Krajnc", "Zupančič", "Potočnik",
                                     "Kovač",  "Mlakar", "Kos",       "Vidmar", "Golob",    "Turk",
                                     "Božič",  "Kralj",  "Korošec",   "Zupan",  "Bizjak",   "Hribar",
                                     "Kotnik", "Rozman", "Kavčič",    "Petek",  "Žagar",    "Koželj",
                                     "Oblak",  "Košir",  "Žnidaršič", "Hočevar"};
const char* const kHomeFirstNames[] = {
    "Ana",   "Marija", "Maja",   "Irena", "Mojca", "Nina",  "Eva",   "Špela", "Nataša",  "Tjaša",  "Franc",
    "Janez", "Marko",  "Andrej", "Jože",  "Luka",  "Matej", "Tomaž", "Žiga",  "Boštjan", "Primož", "Urška"};
const char* const kForeignSurnames[] = {"Müller", "Schmidt", "Huber", "Gruber",    "Rossi",     "Bianchi",
                                        "Smith",  "Jones",   "Babić", "Kovačević", "Jovanović", "Weber"};
const char* const kForeignFirstNames[] = {"Thomas", "Anna",  "Marco",  "Giulia", "John",  "Mary",
                                          "Ivan",   "Petra", "Stefan", "Lena",   "Goran", "Sophie"};
const char* const kPlaces[] = {"Pohorje",      "Soča",       "Kras",      "Savinja", "Posočje",
                               "Primorje",     "Notranjska", "Dolenjska", "Koroška", "Prekmurje",
                               "Bela krajina", "Zasavje",    "Gorenjska", "Haloze"};
const char* const kTrades[] = {"trgovina",    "storitve",    "gradbeništvo", "inženiring", "transport",
                               "elektronika", "informatika", "lesarstvo",    "turizem",    "kovinarstvo"};
const char* const kHomeForms[] = {"d.o.o.", "d.d.", "k.d."};
const char* const kForeignStems[] = {"Alpen",  "Donau", "Adria",    "Baltic",
                                     "Nordic", "Atlas", "Meridian", "Danubia"};
const char* const kForeignKinds[] = {"Invest", "Holding", "Capital", "Trading", "Logistics"};
const char* const kForeignForms[] = {"GmbH", "AG", "Ltd", "S.r.l.", "d.o.o.", "Inc."};
const char* const kForeignCountries[] = {"A", "D", "H", "U", "C", "G", "I", "N", "B", "R"};

template <class T, std::size_t N> const T& pick(Rng& rng, const T (&items)[N]) {
    return items[rng.below(int(N))];
}

/// Sectors are dealt in turn rather than drawn, so that every sector of a list occurs as
/// soon as there are as many clients of the kind as the list is long.
template <class T, std::size_t N> const T& inTurn(int& counter, const T (&items)[N]) {
    return items[counter++ % int(N)];
}

struct Client {
    int id = 0;
    Profile profile = Profile::HomeHousehold;
    bool household = false;
    bool foreign = false;
};

/// A planned change of a position: a purchase (lots > 0) or a sale (lots < 0).
struct PlannedTrade {
    QDate day;
    double lots;
    char kind;      ///< DOG.SFPDG
    int market = 0; ///< 0: chosen from the security's listings
};

struct ShowcaseHolding {
    int security;
    double lots;
    std::vector<PlannedTrade> extra = {}; ///< trades besides the opening purchase
};

struct ShowcaseContract {
    const char* activity;
    std::vector<ShowcaseHolding> holdings;
    int id = 0;                      ///< 0: the next free contract id
    const char* reporting = nullptr; ///< POG.POROCANJE_VRP
};

struct ShowcaseClient {
    int id; ///< 0: the next free client id
    const char* name;
    const char* firstName; ///< nullptr for legal persons
    const char* country;   ///< nullptr: NULL
    const char* sector;    ///< nullptr: NULL
    const char* status;
    const char* regNo; ///< nullptr: NULL
    std::vector<ShowcaseContract> contracts;
};

/// Contract id the client-specific rules of one institution single out.
constexpr int kSingledOutContract = 50838;
constexpr int kInstitution = 2;
constexpr int kFirstClientId = 1001;
constexpr int kFirstContractId = 10001;

// ------------------------------------------------------------------------------------------

struct IncomeEvent {
    QDate record;  ///< the holding that counts is the one settled on this day
    QDate payment; ///< settlement day of the income
    double perUnitEuro;
    bool coupon;
};

class Generator {
public:
    Generator(QSqlDatabase& db, const GeneratorOptions& options)
        : m_db(db), m_options(options), m_rng(options.seed) {
        const QDate today = options.today;
        m_monthZero = QDate(today.year(), today.month(), 1);
        m_changeover = euroChangeoverFor(today);
        m_historyStart = m_monthZero.addMonths(-17);
        m_rateStart = m_monthZero.addMonths(-18);
        m_windowEnd = monthEnd(m_monthZero.addMonths(1));
        for (int offset = -16; offset <= 1; ++offset)
            m_holdingDays.push_back(monthEnd(m_monthZero.addMonths(offset)));
        m_holdingDays.push_back(m_changeover);
        std::sort(m_holdingDays.begin(), m_holdingDays.end());
        m_holdingDays.erase(std::unique(m_holdingDays.begin(), m_holdingDays.end()), m_holdingDays.end());
    }

    GeneratorStats run() {
        writeReferenceData();
        buildRates();
        buildPrices();
        writeSecurities();
        writePersonsAndPositions();
        GeneratorStats stats;
        stats.persons = m_osb->rows();
        stats.securities = int(kSecurities.size());
        stats.contracts = m_pog->rows();
        stats.holdings = m_vpshst->rows();
        stats.trades = m_dog->rows();
        return stats;
    }

private:
    // --- dates ----------------------------------------------------------------------------

    QDate month(int offset, int day = 1) const {
        const QDate first = m_monthZero.addMonths(offset);
        return QDate(first.year(), first.month(), std::min(day, first.daysInMonth()));
    }

    int monthOffset(const QDate& d) const {
        return (d.year() - m_monthZero.year()) * 12 + (d.month() - m_monthZero.month());
    }

    /// A day in the stored form of the back office's dates.
    QString text(const QDate& d) {
        auto it = m_dateTexts.find(d.toJulianDay());
        if (it == m_dateTexts.end())
            it = m_dateTexts.insert(d.toJulianDay(), d.toString(QStringLiteral("yyyy-MM-dd 00:00:00")));
        return *it;
    }

    QVariant dateOrNull(const std::optional<QDate>& d) { return d ? QVariant(text(*d)) : QVariant(); }

    QDate randomBusinessDay(int offset) {
        const QDate first = month(offset);
        QDate d;
        do
            d = first.addDays(m_rng.below(first.daysInMonth()));
        while (isWeekend(d));
        return d;
    }

    bool euroPeriod(const QDate& d) const { return d >= m_changeover; }
    /// Factor from euro to the reporting currency of the day (the old currency before the changeover).
    double reportingFactor(const QDate& d) const { return euroPeriod(d) ? 1.0 : kConversionRate; }

    // --- rates ----------------------------------------------------------------------------

    void buildRates() {
        const int days = int(m_rateStart.daysTo(m_windowEnd.addDays(40))) + 1;
        for (int c = 0; c < int(Currency::Count); ++c) {
            auto& series = m_perEuro[c];
            series.resize(days);
            double value = kCurrencies[c].perEuro;
            const bool floating = Currency(c) != Currency::EUR && Currency(c) != Currency::SIT;
            for (int i = 0; i < days; ++i) {
                const QDate d = m_rateStart.addDays(i);
                if (floating && !isWeekend(d)) value = round6(value * (1.0 + (m_rng.unit() - 0.5) * 0.008));
                series[i] = value;
            }
        }
        Inserter vln(m_db, QStringLiteral("VLN"), {"SFVLN", "SFVLT", "DAN", "TCJ"});
        for (int i = 0; i < days; ++i) {
            const QDate d = m_rateStart.addDays(i);
            if (isWeekend(d) || d > m_windowEnd) continue;
            for (int c = 0; c < int(Currency::Count); ++c) {
                const double middle = rate(Currency(c), d);
                vln.row({QStringLiteral("0"), QString::fromUtf8(kCurrencies[c].code), text(d), middle});
                vln.row({QStringLiteral("1"), QString::fromUtf8(kCurrencies[c].code), text(d),
                         round6(middle * 0.995)});
            }
        }
    }

    double perEuro(Currency c, const QDate& d) const {
        const auto& series = m_perEuro[int(c)];
        const qint64 i = std::clamp<qint64>(m_rateStart.daysTo(d), 0, qint64(series.size()) - 1);
        return series[std::size_t(i)];
    }

    /// Middle rate of a currency on a day: units of the old currency per unit before the
    /// changeover, units per euro from it on.
    double rate(Currency c, const QDate& d) const {
        if (euroPeriod(d)) return perEuro(c, d);
        if (c == Currency::SIT) return 1.0;
        return round6(kConversionRate / perEuro(c, d));
    }

    static Currency currencyOf(Quote q) {
        switch (q) {
        case Quote::USD:
            return Currency::USD;
        case Quote::CHF:
            return Currency::CHF;
        case Quote::GBP:
            return Currency::GBP;
        default:
            return Currency::EUR;
        }
    }

    // --- prices ---------------------------------------------------------------------------

    void buildPrices() {
        for (const Security& s : kSecurities) {
            std::vector<double> path;
            double price = s.priceEuro;
            for (int offset = -18; offset <= 2; ++offset) {
                path.push_back(round4(price));
                const double swing = s.percentPrice ? 0.006 : 0.07;
                price *= 1.0 + (m_rng.unit() - 0.5) * swing;
            }
            m_prices[s.id] = std::move(path);
        }
    }

    double priceEuro(const Security& s, const QDate& d) const {
        const auto& path = m_prices.at(s.id);
        const int i = std::clamp(monthOffset(d) + 18, 0, int(path.size()) - 1);
        return path[std::size_t(i)];
    }

    /// Price of one unit in the currency the trade is made in.
    double tradePrice(const Security& s, double euro, const QDate& day) const {
        if (s.quote == Quote::Home) return round4(euro * reportingFactor(day));
        return round4(euro * perEuro(currencyOf(s.quote), day));
    }

    /// Rate of a trade settled on `settled`: a home-currency trade has rate 1; a foreign one
    /// the middle rate of its currency on the settlement day.
    double tradeRate(const Security& s, const QDate& settled) const {
        if (s.quote == Quote::Home) return 1.0;
        return rate(currencyOf(s.quote), settled);
    }

    double nominalEuro(const Security& s) const {
        return s.nominal / kCurrencies[int(s.nominalCurrency)].perEuro;
    }

    // --- reference tables -----------------------------------------------------------------

    void writeReferenceData() {
        Inserter djv(m_db, QStringLiteral("DJV"), {"SFDJV", "NZV"});
        for (const Activity& a : kActivities)
            djv.row({QString::fromUtf8(a.code), QString::fromUtf8(a.name)});

        Inserter drz(m_db, QStringLiteral("DRZ"), {"SFDRZ", "KRT", "NZV"});
        for (const Country& c : kCountries)
            drz.row({QString::fromUtf8(c.key), QString::fromUtf8(c.abbreviation), QString::fromUtf8(c.name)});

        Inserter vlt(m_db, QStringLiteral("VLT"), {"SFVLT", "ST", "NZV"});
        for (const CurrencyInfo& c : kCurrencies)
            vlt.row({QString::fromUtf8(c.code), QString::fromUtf8(c.numeric), QString::fromUtf8(c.name)});

        Inserter trg(m_db, QStringLiteral("TRG"), {"SFTRG", "NZV", "SFDRZTRG", "SFTRZ"});
        for (const Market& m : kMarkets)
            trg.row({m.id, QString::fromUtf8(m.name), nullable(m.country), nullable(m.kind)});

        Inserter fin(m_db, QStringLiteral("FIN"), {"SFFIN", "NZV", "SFLST"});
        for (const InstrumentKind& k : kInstrumentKinds)
            fin.row({QString::fromUtf8(k.code), QString::fromUtf8(k.name), QString::fromUtf8(k.listed)});

        Inserter euro(m_db, QStringLiteral("EUROOBD"), {"OZNAKA", "DANOD", "NZV"});
        euro.row({QStringLiteral("ES"), text(m_changeover), QStringLiteral("Prehod na evro")});
        euro.row({QStringLiteral("HR"), text(m_changeover.addYears(1)),
                  QStringLiteral("Prehod na evro (Hrvaška)")});

        // Accounting periods by calendar year. The back office keeps the trades of every
        // open year in the current period, the highest IDOBD.
        Inserter obd(m_db, QStringLiteral("OBD"), {"IDOBD", "DANOD", "DANDO", "NZV"});
        int id = 0;
        for (int year = m_historyStart.year(); year <= m_windowEnd.year(); ++year)
            obd.row({++id, text(QDate(year, 1, 1)), text(QDate(year, 12, 31)),
                     QStringLiteral("Leto %1").arg(year)});
        m_currentPeriod = id;

        Inserter ini(m_db, QStringLiteral("INISET"), {"KLJUC", "VREDNOST"});
        ini.row({QStringLiteral("RW_ClientId"), m_options.clientId});
        ini.row({QStringLiteral("RW_Verzija"), QStringLiteral("3.10")});
    }

    // --- securities -----------------------------------------------------------------------

    std::optional<QDate> maturity(const Security& s) const {
        if (s.maturityMonth == kNone) return std::nullopt;
        return month(s.maturityMonth, 15);
    }

    std::optional<QDate> issueDay(const Security& s) const {
        if (s.issueMonth == kNone) return std::nullopt;
        QDate d = month(s.issueMonth, 10);
        while (isWeekend(d))
            d = d.addDays(1);
        return d;
    }

    void writeSecurities() {
        Inserter sfvp(m_db, QStringLiteral("SFVP"),
                      {"SFVP", "KRT", "NZV", "ISIN", "CFI", "SFFIN", "SFOSBIZD", "SFVLTNMN", "GLVNMN",
                       "LOTEMS", "SFGLVENT", "ZPDVP"});
        Inserter ktc(m_db, QStringLiteral("KTC"), {"SFKTC", "SFVP", "SFTRG", "DAN", "DANPRK"});
        Inserter kpn(m_db, QStringLiteral("KPN"),
                     {"SFVP", "PRVDAN", "ZDNDAN", "GLVOBR", "OBROBRBRT", "STRTUJ", "OBROBR"});
        int listingId = 0;
        for (const Security& s : kSecurities) {
            sfvp.row({s.id, QString::fromUtf8(s.label), QString::fromUtf8(s.name), isin(s),
                      QString::fromUtf8(s.cfi), QString::fromUtf8(s.kind), s.issuer,
                      QString::fromUtf8(kCurrencies[int(s.nominalCurrency)].code), s.nominal, s.issued,
                      s.percentPrice ? QStringLiteral("%") : QStringLiteral("K"), dateOrNull(maturity(s))});
            for (const Listing& l : s.listings) {
                if (l.market == 0) continue;
                QDate from = l.fromMonth <= kLongAgo ? month(kLongAgo) : month(l.fromMonth);
                if (const auto issued = issueDay(s); issued && l.fromMonth == s.issueMonth) from = *issued;
                const std::optional<QDate> to =
                    l.toMonth == kStillListed ? std::nullopt : std::optional<QDate>(month(l.toMonth, 15));
                ktc.row({++listingId, s.id, l.market, text(from), dateOrNull(to)});
            }
            auto& events = m_income[s.id];
            writePaymentSchedule(s, kpn, events);
        }
    }

    /// ISIN with a valid check digit: country, nine digits derived from the security id.
    static QString isin(const Security& s) {
        QString body = QString::fromUtf8(s.isinCountry) +
                       QStringLiteral("00%1").arg(s.id * 7919 % 10000000, 7, 10, QLatin1Char('0'));
        body += QString::number(isinCheckDigit(body));
        return body;
    }

    static int isinCheckDigit(const QString& body) {
        QString digits;
        for (QChar c : body)
            digits += c.isDigit() ? QString(c) : QString::number(c.toLatin1() - 'A' + 10);
        int sum = 0;
        bool twice = true;
        for (int i = int(digits.size()) - 1; i >= 0; --i) {
            int d = digits[i].digitValue() * (twice ? 2 : 1);
            sum += d / 10 + d % 10;
            twice = !twice;
        }
        return (10 - sum % 10) % 10;
    }

    void writePaymentSchedule(const Security& s, Inserter& kpn, std::vector<IncomeEvent>& events) {
        const std::optional<QDate> matures = maturity(s);
        const double nominal = s.nominal;
        if (s.couponRate > 0) {
            // Coupons twice a year on the 15th, from before the history to after the window.
            int first = s.couponMonth;
            while (first > -24)
                first -= 6;
            for (int offset = first; offset <= 8; offset += 6) {
                const QDate day = month(offset, 15);
                if (matures && day > *matures) break;
                const double couponEuro = round4(nominalEuro(s) * s.couponRate / 200.0);
                const double gross = round4(couponEuro * reportingFactor(day));
                const double foreign = round4(gross * s.foreignTax);
                double repaid = 0;
                if (s.amortising)
                    repaid = nominal / 10.0;
                else if (matures && day == *matures)
                    repaid = nominal;
                kpn.row({s.id, text(month(offset - 6, 15)), text(day), repaid, gross, foreign,
                         round4((gross - foreign) * 0.75)});
                // The holding of the day before counts, so a redemption on the day still earns it.
                if (day >= m_historyStart && day <= m_windowEnd)
                    events.push_back({day.addDays(-1), day, couponEuro, true});
            }
        } else if (matures) {
            // A discount paper repays its nominal at maturity.
            kpn.row({s.id, text(matures->addYears(-1)), text(*matures), nominal, 0.0, 0.0, 0.0});
        }
        if (s.dividend > 0) {
            for (int offset = s.dividendMonth - 24; offset <= 1; offset += 12) {
                const QDate record = month(offset, 8);
                const QDate payment = month(offset, 22);
                const double gross = round4(s.dividend * reportingFactor(payment));
                const double foreign = round4(gross * s.foreignTax);
                kpn.row({s.id, text(record), text(payment), 0.0, gross, foreign,
                         round4((gross - foreign) * 0.75)});
                if (record >= m_historyStart) events.push_back({record, payment, s.dividend, false});
            }
        }
    }

    const Security& security(int id) const {
        for (const Security& s : kSecurities)
            if (s.id == id) return s;
        throw GenerationError("unknown security in the demo catalogue");
    }

    // --- persons and positions ------------------------------------------------------------

    void openPositionWriters() {
        m_osb.emplace(m_db, QStringLiteral("OSB"),
                      QStringList{"SFOSB", "NZV", "IME", "MTS", "SFSOS", "SFDRZ", "SEKTORIZACIJA"});
        m_pog.emplace(m_db, QStringLiteral("POG"),
                      QStringList{"IDPOG", "SFOSB", "SFDJV", "ST", "DANOD", "POROCANJE_VRP"});
        m_dog.emplace(m_db, QStringLiteral("DOG"),
                      QStringList{"IDDOG",  "IDPOG",  "SFVP",   "SFDJV",   "SFPDG",  "SFDOG",
                                  "SFFIS",  "SFTRG",  "IDPSL",  "IDOBD",   "DAN",    "ZPD",
                                  "LOT",    "VP",     "GLVVLT", "TCJVLT",  "TCJTVL", "PVZPLC",
                                  "PVZPRJ", "OBRVLT", "GOT",    "SFGLVENT"});
        m_psl.emplace(m_db, QStringLiteral("PSL"),
                      QStringList{"IDPSL", "IDPOG", "DAN", "PTFVP", "PVZPRJDOD"});
        m_sto.emplace(m_db, QStringLiteral("STO"), QStringList{"IDSTO", "IDPSL", "VRD", "TCJVLT"});
        m_vpshst.emplace(m_db, QStringLiteral("VPSHST"),
                         QStringList{"DAN", "IDPOG", "SFVP", "SFDJV", "SFSVP", "LOT0", "LOT", "GLV", "OBR",
                                     "GLVVRD", "OBRVRD"});
    }

    void writePersonsAndPositions() {
        openPositionWriters();
        for (const Issuer& i : kIssuers)
            m_osb->row({i.id, QString::fromUtf8(i.name), QVariant(), QString::fromUtf8(i.regNo),
                        QStringLiteral("P"), QString::fromUtf8(i.country), nullable(i.sector)});
        m_osb->row({kInstitution, QStringLiteral("Demo banka d.d."), QVariant(), QStringLiteral("5999817"),
                    QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("S.122")});

        for (const ShowcaseClient& c : showcaseClients())
            writeShowcaseClient(c);
        for (const ProfileShare& share : kProfileMix)
            for (int i = 0; i < share.perScale * m_options.scale; ++i)
                writeRandomClient(share.profile);
    }

    int nextContractId() {
        int id = m_nextContract++;
        if (id == kSingledOutContract) id = m_nextContract++;
        return id;
    }

    int writeContract(int client, const QString& activity, int id, const QVariant& reporting) {
        const int contract = id ? id : nextContractId();
        m_pog->row({contract, client, activity, QStringLiteral("%1/%2").arg(activity).arg(contract),
                    text(m_historyStart.addYears(-2)), reporting});
        return contract;
    }

    void writeShowcaseClient(const ShowcaseClient& c) {
        const int id = c.id ? c.id : m_nextClient++;
        if (id != kInstitution)
            m_osb->row({id, QString::fromUtf8(c.name), nullable(c.firstName), nullable(c.regNo),
                        QString::fromUtf8(c.status), nullable(c.country), nullable(c.sector)});
        for (const ShowcaseContract& k : c.contracts) {
            const QString activity = QString::fromUtf8(k.activity);
            const int contract = writeContract(id, activity, k.id, nullable(k.reporting));
            for (const ShowcaseHolding& h : k.holdings) {
                const Security& s = security(h.security);
                std::vector<PlannedTrade> plan;
                if (const auto issued = issueDay(s))
                    plan.push_back({*issued, h.lots, 'A', market::Primary});
                else
                    plan.push_back({randomBusinessDay(-17), h.lots, 'N'});
                plan.insert(plan.end(), h.extra.begin(), h.extra.end());
                writePosition(contract, activity, s, plan);
            }
        }
    }

    void writeRandomClient(Profile profile) {
        Client client;
        client.id = m_nextClient++;
        client.profile = profile;
        QString name, firstName, regNo, status = QStringLiteral("P");
        QVariant country = QStringLiteral("S"), sector;
        bool noFirstName = true, noRegNo = false;
        auto homeCountry = [&] {
            if (m_rng.chance(0.03)) return QVariant();
            if (m_rng.chance(0.02)) return QVariant(QString());
            return QVariant(QStringLiteral("S"));
        };
        auto foreignCountry = [&] { return QVariant(QString::fromUtf8(pick(m_rng, kForeignCountries))); };
        auto homeRegNo = [&] {
            QString r = QString::number(m_rng.between(1000000, 9999999));
            if (r == QLatin1String("5026024") || r == QLatin1String("5092221")) r = QStringLiteral("5026025");
            if (m_rng.chance(0.2)) r += QStringLiteral("000");
            return r;
        };
        auto homeCompanyName = [&] {
            return QStringLiteral("%1 %2 %3")
                .arg(QString::fromUtf8(pick(m_rng, kPlaces)), QString::fromUtf8(pick(m_rng, kTrades)),
                     QString::fromUtf8(pick(m_rng, kHomeForms)));
        };
        switch (profile) {
        case Profile::HomeHousehold:
        case Profile::ForeignHousehold: {
            const bool foreign = profile == Profile::ForeignHousehold;
            client.household = true;
            client.foreign = foreign;
            status = QStringLiteral("F");
            name = QString::fromUtf8(foreign ? pick(m_rng, kForeignSurnames) : pick(m_rng, kHomeSurnames));
            firstName =
                QString::fromUtf8(foreign ? pick(m_rng, kForeignFirstNames) : pick(m_rng, kHomeFirstNames));
            noFirstName = false;
            noRegNo = true;
            static const char* const home[] = {"S.14", "S.141", "S.1411", "S.14", "S.142", "S.143", "S.144"};
            static const char* const abroad[] = {"S.24", "S.25", "S.94", "S.14", "S.2"};
            sector = QString::fromUtf8(foreign ? inTurn(m_dealt[int(profile)], abroad)
                                               : inTurn(m_dealt[int(profile)], home));
            country = foreign ? foreignCountry() : homeCountry();
            break;
        }
        case Profile::HomeNonProfit:
            name = QStringLiteral("Društvo %1").arg(QString::fromUtf8(pick(m_rng, kPlaces)));
            regNo = homeRegNo();
            static const char* const sectors[] = {"S.15", "S.1501"};
            sector = QString::fromUtf8(inTurn(m_dealt[int(profile)], sectors));
            country = homeCountry();
            break;
        case Profile::HomeCompany: {
            name = homeCompanyName();
            regNo = homeRegNo();
            static const char* const sectors[] = {"S.11", "S.11", "S.11001", "S.11002", "S.11003"};
            sector = QString::fromUtf8(inTurn(m_dealt[int(profile)], sectors));
            country = homeCountry();
            break;
        }
        case Profile::HomeFinancial: {
            static const char* const kinds[] = {"Zavarovalnica %1 d.d.", "Pokojninska družba %1 d.d.",
                                                "Vzajemni sklad %1", "Borznoposredniška hiša %1 d.o.o.",
                                                "Hranilnica %1 d.d."};
            name = QString::fromUtf8(pick(m_rng, kinds)).arg(QString::fromUtf8(pick(m_rng, kPlaces)));
            regNo = homeRegNo();
            static const char* const sectors[] = {"S.121", "S.122", "S.12201", "S.124", "S.128",
                                                  "S.129", "S.123", "S.125",   "S.126", "S.127"};
            sector = QString::fromUtf8(inTurn(m_dealt[int(profile)], sectors));
            country = homeCountry();
            break;
        }
        case Profile::HomeGovernment: {
            static const char* const kinds[] = {"Občina %1", "Javni sklad %1", "Zavod %1",
                                                "Regionalna agencija %1"};
            name = QString::fromUtf8(pick(m_rng, kinds)).arg(QString::fromUtf8(pick(m_rng, kPlaces)));
            regNo = homeRegNo();
            static const char* const sectors[] = {"S.1311", "S.1313", "S.1321", "S.13", "S.1312", "S.1314"};
            sector = QString::fromUtf8(inTurn(m_dealt[int(profile)], sectors));
            country = QStringLiteral("S");
            break;
        }
        case Profile::ForeignCompany: {
            client.foreign = true;
            name = QStringLiteral("%1 %2 %3")
                       .arg(QString::fromUtf8(pick(m_rng, kForeignStems)),
                            QString::fromUtf8(pick(m_rng, kForeignKinds)),
                            QString::fromUtf8(pick(m_rng, kForeignForms)));
            noRegNo = m_rng.chance(0.5);
            regNo = QStringLiteral("HRB %1").arg(m_rng.between(1000, 99999));
            static const char* const sectors[] = {"S.2", "S.21", "S.22", "S.9", "S.11", "S.122"};
            sector = QString::fromUtf8(inTurn(m_dealt[int(profile)], sectors));
            country = foreignCountry();
            break;
        }
        case Profile::Unsectored: {
            client.foreign = m_rng.chance(0.3);
            client.household = m_rng.chance(0.5);
            if (client.household) {
                status = QStringLiteral("F");
                name = QString::fromUtf8(pick(m_rng, kHomeSurnames));
                firstName = QString::fromUtf8(pick(m_rng, kHomeFirstNames));
                noFirstName = false;
                noRegNo = true;
            } else {
                name = homeCompanyName();
                regNo = homeRegNo();
            }
            static const char* const sectors[] = {nullptr, "", "  "};
            sector = nullable(inTurn(m_dealt[int(profile)], sectors));
            country = client.foreign ? foreignCountry() : homeCountry();
            break;
        }
        }
        m_osb->row({client.id, name, nullable(firstName, noFirstName), nullable(regNo, noRegNo), status,
                    country, sector});

        const int contracts = 1 + (m_rng.chance(0.3) ? 1 : 0) + (m_rng.chance(0.05) ? 1 : 0);
        for (int k = 0; k < contracts; ++k)
            writeRandomContract(client);
    }

    void writeRandomContract(const Client& client) {
        static const char* const activities[] = {"W", "N", "U", "C", "X", "L", "K"};
        static const int activityWeights[] = {45, 12, 10, 10, 10, 6, 4};
        const QString activity = QString::fromUtf8(activities[m_rng.weighted(activityWeights)]);
        QVariant reporting;
        const double r = m_rng.unit();
        if (r < 0.03)
            reporting = QStringLiteral("D");
        else if (r < 0.33)
            reporting = QStringLiteral("N");
        const int contract = writeContract(client.id, activity, 0, reporting);

        int positions = 1;
        switch (client.profile) {
        case Profile::HomeHousehold:
        case Profile::ForeignHousehold:
        case Profile::Unsectored:
            positions = m_rng.between(1, 4);
            break;
        case Profile::HomeFinancial:
            positions = m_rng.between(3, 7);
            break;
        default:
            positions = m_rng.between(2, 5);
            break;
        }
        std::vector<int> weights;
        for (const Security& s : kSecurities) {
            int w = s.weight * 4;
            const bool bond = s.percentPrice;
            if (client.household && bond) w /= 2;
            if ((client.profile == Profile::HomeFinancial || client.profile == Profile::HomeGovernment) &&
                bond)
                w *= 3;
            if (client.foreign && s.quote == Quote::Home) w *= 2;
            weights.push_back(w);
        }
        for (int p = 0; p < positions; ++p) {
            const int chosen = m_rng.weighted(weights);
            weights[std::size_t(chosen)] = 0; // one position per security and contract
            writePosition(contract, activity, kSecurities[std::size_t(chosen)],
                          randomPlan(client, activity, kSecurities[std::size_t(chosen)]));
        }
    }

    double randomLots(const Client& client, const Security& s) {
        double lots = 0;
        if (s.percentPrice) {
            switch (client.profile) {
            case Profile::HomeFinancial:
                lots = m_rng.between(50, 2000);
                break;
            case Profile::HomeGovernment:
                lots = m_rng.between(20, 1000);
                break;
            case Profile::HomeCompany:
            case Profile::ForeignCompany:
                lots = m_rng.between(10, 300);
                break;
            default:
                lots = m_rng.between(1, 20);
                break;
            }
            if (s.nominal < 1000) lots *= 10;
        } else {
            switch (client.profile) {
            case Profile::HomeFinancial:
                lots = m_rng.between(500, 20000);
                break;
            case Profile::HomeCompany:
            case Profile::ForeignCompany:
            case Profile::HomeGovernment:
                lots = m_rng.between(200, 8000);
                break;
            default:
                lots = m_rng.between(10, 600);
                break;
            }
        }
        // Random positions stay well below the tenth of an issue that marks a direct investment.
        return std::max(1.0, std::min(lots, std::floor(s.issued * 0.02)));
    }

    std::vector<PlannedTrade> randomPlan(const Client& client, const QString& activity, const Security& s) {
        std::vector<PlannedTrade> plan;
        const auto issued = issueDay(s);
        const auto matures = maturity(s);
        const int lastMonth = matures ? std::min(1, monthOffset(*matures) - 1) : 1;
        double held = 0;
        int startMonth;
        if (issued) {
            // New issue: the first purchase is the subscription on the primary market.
            const double lots = randomLots(client, s);
            plan.push_back({*issued, lots, 'A', market::Primary});
            held = lots;
            startMonth = monthOffset(*issued) + 1;
        } else if (m_rng.chance(0.75) || lastMonth < -15) {
            const double lots = randomLots(client, s);
            plan.push_back({randomBusinessDay(-17), lots, 'N'});
            held = lots;
            startMonth = -16;
        } else {
            startMonth = m_rng.between(-16, lastMonth);
        }
        for (int offset = startMonth; offset <= lastMonth; ++offset) {
            const bool first = held <= 0 && plan.empty();
            if (!first && !m_rng.chance(0.2)) continue;
            if (held > 0 && !first && m_rng.chance(0.4)) {
                double lots =
                    m_rng.chance(0.25) ? held : std::max(1.0, std::floor(held * (0.2 + 0.6 * m_rng.unit())));
                static const char kinds[] = {'P', 'a', 'b', '{'};
                static const int weights[] = {80, 8, 7, 5};
                plan.push_back({randomBusinessDay(offset), -lots, kinds[m_rng.weighted(weights)]});
                held -= lots;
            } else {
                const double lots = randomLots(client, s);
                char kind = 'N';
                const double r = m_rng.unit();
                if (activity == QLatin1String("L") && r < 0.1)
                    kind = 'V';
                else if (r < 0.2)
                    kind = 'B';
                else if (r < 0.28)
                    kind = 'A';
                plan.push_back({randomBusinessDay(offset), lots, kind});
                held += lots;
            }
        }
        return plan;
    }

    /// The market a trade is made on: one of the security's listings valid on the day, or
    /// the over-the-counter market of its currency.
    int tradeMarket(const Security& s, const QDate& day) {
        std::vector<int> valid;
        for (const Listing& l : s.listings) {
            if (l.market == 0 || l.market == market::Unknown || l.market == market::Internal) {
                if (l.market != 0) valid.push_back(l.market);
                continue;
            }
            const int offset = monthOffset(day);
            if (offset >= l.fromMonth && (l.toMonth == kStillListed || offset < l.toMonth))
                valid.push_back(l.market);
        }
        const int otc = s.quote == Quote::Home ? market::OtcHome : market::OtcForeign;
        if (valid.empty() || m_rng.chance(0.1)) return otc;
        return valid[std::size_t(m_rng.below(int(valid.size())))];
    }

    struct Settlement {
        QDate settled;
        double change;
    };

    void writePosition(int contract, const QString& activity, const Security& s,
                       std::vector<PlannedTrade> plan) {
        std::stable_sort(plan.begin(), plan.end(),
                         [](const PlannedTrade& a, const PlannedTrade& b) { return a.day < b.day; });
        const QString glvent = s.percentPrice ? QStringLiteral("%") : QStringLiteral("K");
        std::vector<Settlement> settlements;
        double held = 0;
        const auto matures = maturity(s);
        for (const PlannedTrade& t : plan) {
            if (matures && t.day >= *matures) break;
            double lots = t.lots;
            if (lots < 0) lots = -std::min(-lots, held); // never sell more than is held
            if (lots == 0) continue;
            held += lots;
            const bool subscription = t.market == market::Primary;
            const QDate settled = subscription ? t.day : addBusinessDays(t.day, 2);
            const int market = t.market ? t.market : tradeMarket(s, t.day);
            const double price = tradePrice(s, priceEuro(s, t.day), t.day);
            // An amount concluded in the old currency and settled in the euro period is
            // converted with the fixed rate.
            const double conversion =
                s.quote == Quote::Home && !euroPeriod(t.day) && euroPeriod(settled) ? kConversionRate : 1.0;
            const int order = writeOrder(contract, t.day);
            QString document = lots > 0 ? QStringLiteral("NK") : QStringLiteral("PR");
            if (subscription)
                document = QStringLiteral("IZ");
            else if (m_rng.chance(0.05))
                document = QStringLiteral("PK"); // re-booking between accounts
            QVariant fiscal;
            const double r = m_rng.unit();
            if (r < 0.02)
                fiscal = QStringLiteral("G");
            else if (r < 0.3)
                fiscal = QStringLiteral("F");
            m_dog->row({++m_lastTrade,
                        contract,
                        s.id,
                        activity,
                        QString(QLatin1Char(t.kind)),
                        document,
                        fiscal,
                        market,
                        order,
                        m_currentPeriod,
                        text(t.day),
                        text(settled),
                        std::abs(lots),
                        lots,
                        price,
                        tradeRate(s, settled),
                        conversion,
                        round2(0.05 + m_rng.unit() * 0.95),
                        round2(m_rng.unit() * 0.4),
                        0.0,
                        0.0,
                        glvent});
            settlements.push_back({settled, lots});
        }
        if (matures && held > 0 && *matures >= m_historyStart && *matures <= m_windowEnd) {
            // Redemption at maturity; it closes the holding but is no sale.
            m_dog->row({++m_lastTrade,
                        contract,
                        s.id,
                        activity,
                        QStringLiteral("."),
                        QStringLiteral("DS"),
                        QVariant(),
                        QVariant(),
                        QVariant(),
                        m_currentPeriod,
                        text(*matures),
                        text(*matures),
                        held,
                        -held,
                        tradePrice(s, nominalEuro(s), *matures),
                        tradeRate(s, *matures),
                        1.0,
                        0.0,
                        0.0,
                        0.0,
                        0.0,
                        glvent});
            settlements.push_back({*matures, -held});
        }
        std::sort(settlements.begin(), settlements.end(),
                  [](const Settlement& a, const Settlement& b) { return a.settled < b.settled; });

        auto heldOn = [&](const QDate& day) {
            double sum = 0;
            for (const Settlement& st : settlements) {
                if (st.settled > day) break;
                sum += st.change;
            }
            return sum;
        };

        for (const IncomeEvent& e : m_income[s.id]) {
            const double lots = heldOn(e.record);
            if (lots <= 0) continue;
            const double perUnit = tradePrice(s, e.perUnitEuro, e.payment);
            m_dog->row({++m_lastTrade,
                        contract,
                        s.id,
                        activity,
                        e.coupon ? QStringLiteral("@") : QStringLiteral("="),
                        e.coupon ? QStringLiteral("KP") : QStringLiteral("DV"),
                        QVariant(),
                        QVariant(),
                        QVariant(),
                        m_currentPeriod,
                        text(e.record),
                        text(e.payment),
                        lots,
                        0.0,
                        perUnit,
                        tradeRate(s, e.payment),
                        1.0,
                        0.0,
                        0.0,
                        e.coupon ? perUnit : 0.0,
                        round2(lots * perUnit),
                        glvent});
        }

        for (const QDate& day : m_holdingDays) {
            const double lots = heldOn(day);
            if (lots <= 0) continue;
            const double price = round4(priceEuro(s, day) * reportingFactor(day));
            const double interest = round4(accruedInterestEuro(s, day) * reportingFactor(day));
            m_vpshst->row({text(day), contract, s.id, activity, QStringLiteral("L"), lots, lots, price,
                           interest, price, interest});
        }
    }

    double accruedInterestEuro(const Security& s, const QDate& day) const {
        if (s.couponRate <= 0) return 0;
        QDate last = month(s.couponMonth, 15);
        while (last > day)
            last = last.addMonths(-6);
        while (last.addMonths(6) <= day)
            last = last.addMonths(6);
        return nominalEuro(s) * s.couponRate / 100.0 * double(last.daysTo(day)) / 365.0;
    }

    int writeOrder(int contract, const QDate& day) {
        const int order = ++m_lastOrder;
        QVariant portfolio;
        const double r = m_rng.unit();
        if (r < 0.03)
            portfolio = QStringLiteral("N");
        else if (r < 0.6)
            portfolio = QStringLiteral("D");
        m_psl->row({order, contract, text(day), portfolio, round2(m_rng.unit() * 10.0)});
        if (m_rng.chance(0.25)) {
            const int costs = m_rng.between(1, 2);
            for (int i = 0; i < costs; ++i)
                m_sto->row({++m_lastCost, order, round2(1.0 + m_rng.unit() * 24.0), 1.0});
        }
        return order;
    }

    // --- showcase -------------------------------------------------------------------------

    /// Clients whose positions make every case of the report occur in the usual period:
    /// each cross-border form, the excluded wholly domestic and wholly foreign positions,
    /// every activity, clients without a sector, direct investments, trades of every kind.
    std::vector<ShowcaseClient> showcaseClients() {
        const QDate lastBeforeEuro = previousBusinessDay(m_changeover);
        const QDate twoBeforeEuro = previousBusinessDay(lastBeforeEuro);
        auto inPeriod = [&](int day) {
            QDate d = month(-1, day);
            while (isWeekend(d))
                d = d.addDays(1);
            return d;
        };
        // clang-format off
        return {
            {0, "Novak", "Ana", "S", "S.1411", "F", nullptr, {
                {"W", {{102, 300}, {125, 120, {{inPeriod(6), 30, 'N'}}}, {123, 200},
                       {101, 150, {{inPeriod(13), -50, 'P'}, {lastBeforeEuro, 20, 'N'}}}, {111, 100}, {113, 20}}},
                {"N", {{126, 80, {{inPeriod(20), 10, 'B'}}}, {128, 500}}}}},
            {0, "Alpenländische Holding GmbH", nullptr, "A", "S.21", "P", "FN 120345k", {
                {"W", {{101, 4000, {{inPeriod(9), -500, 'b'}}}, {102, 6000, {{twoBeforeEuro, -100, 'P'}}},
                       {124, 3000, {{inPeriod(16), 200, 'B'}}}, {126, 2500}, {115, 7200}, {112, 1000}}}}},
            {0, "Kovinar d.o.o.", nullptr, "S", "S.11", "P", "5384567", {
                {"W", {{132, 6000}, {129, 200}, {113, 50}}}}},
            {0, "Gradnja Posavje d.d.", nullptr, "S", "S.11001", "P", "5467120000", {
                {"W", {{132, 4400}}}, {"U", {{132, 4100}}}}},
            {0, "Zupančič", "Marko", "S", nullptr, "F", nullptr, {
                {"U", {{125, 90}, {127, 40}}}}},
            {0, "Kovačević", "Ivan", "H", "", "F", nullptr, {
                {"C", {{101, 60}, {104, 300, {{inPeriod(3), 100, 'N'}}}}}}},
            {0, "Investicijska družba Soča d.d.", nullptr, "S", "S.11", "V", "5501234", {
                {"W", {{102, 1500}, {125, 700}}, kSingledOutContract},
                {"W", {{102, 800}, {126, 300}}}}},
            {0, "Pokojninska družba Karavanke d.d.", nullptr, "S", "S.128", "S", "5622218", {
                {"X", {{123, 2500, {{inPeriod(7), -300, '{'}}}, {133, 300}, {131, 150}}}}},
            {kInstitution, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {
                {"L", {{129, 2000, {{inPeriod(11), 50, 'V'}}}, {130, 1500}, {131, 1000, {{inPeriod(14), 100, 'N', market::OtcForeign}}},
                       {125, 5000, {{inPeriod(21), -1000, '{'}}}, {133, 2500, {{lastBeforeEuro, 100, 'N'}}},
                       {106, 3000}, {113, 400}}},
                {"W", {{126, 1200}}}}},
            {0, "Javni sklad za razvoj kadrov", nullptr, "S", "S.1312", "P", "5927153", {
                {"W", {{130, 300}, {135, 100}}}}},
            {0, "Horvat", "Petra", "H", "S.94", "F", nullptr, {
                {"W", {{101, 100}, {122, 50}, {121, 500}}}}},
            {0, "Müller", "Thomas", "D", "S.24", "F", nullptr, {
                {"W", {{102, 200}, {136, 10}}}}},
            {0, "Potočnik", "Jože", nullptr, "S.14", "F", nullptr, {
                {"W", {{125, 40}, {110, 15}, {107, 20}}}}},
            {0, "Krajnc", "Maja", "", "S.143", "F", nullptr, {
                {"C", {{126, 30}}}, {"K", {{125, 50}}}}},
            {0, "Kos", "Janez", "S", "S.14", "F", nullptr, {
                {"W", {{125, 100}}, 0, "D"}}},
            {0, "Skladi Karavanke d.o.o.", nullptr, "S", "S.124", "P", "1267442", {
                {"U", {{130, 800}, {126, 900}, {134, 5000}}}}},
        };
        // clang-format on
    }

    QSqlDatabase& m_db;
    const GeneratorOptions& m_options;
    Rng m_rng;

    QDate m_monthZero, m_changeover, m_historyStart, m_rateStart, m_windowEnd;
    std::vector<QDate> m_holdingDays;
    QHash<qint64, QString> m_dateTexts;
    std::array<std::vector<double>, std::size_t(Currency::Count)> m_perEuro;
    std::map<int, std::vector<double>> m_prices;
    std::map<int, std::vector<IncomeEvent>> m_income;
    int m_currentPeriod = 1;

    std::optional<Inserter> m_osb, m_pog, m_dog, m_psl, m_sto, m_vpshst;
    std::array<int, 8> m_dealt = {}; ///< sectors dealt so far, per profile
    int m_nextClient = kFirstClientId;
    int m_nextContract = kFirstContractId;
    int m_lastTrade = 0, m_lastOrder = 0, m_lastCost = 0;
};

} // namespace

QDate euroChangeoverFor(const QDate& today) {
    const QDate first(today.year(), today.month(), 1);
    return first.addMonths(-6);
}

bool generate(QSqlDatabase& db, const GeneratorOptions& options, GeneratorStats* stats, QString* error) {
    auto fail = [&](const QString& message) {
        if (error) *error = message;
        return false;
    };
    if (!db.isOpen()) return fail(QStringLiteral("the database is not open"));
    if (options.scale < 1 || options.scale > kMaxScale)
        return fail(QStringLiteral("scale must be from 1 to %1, not %2").arg(kMaxScale).arg(options.scale));
    if (!options.today.isValid())
        return fail(QStringLiteral("the day to build the data around is not a valid date"));

    const bool ownTransaction = db.transaction();
    try {
        GeneratorStats made;
        {
            // The prepared statements end with the generator, before the commit.
            Generator generator(db, options);
            made = generator.run();
        }
        if (ownTransaction && !db.commit())
            throw GenerationError(
                QStringLiteral("cannot commit: %1").arg(db.lastError().text()).toStdString());
        if (stats) *stats = made;
        return true;
    } catch (const GenerationError& e) {
        if (ownTransaction) db.rollback();
        return fail(QString::fromStdString(e.what()));
    }
}

} // namespace demo
