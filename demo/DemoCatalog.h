#pragma once

// Fixed reference data of the demo back office: countries, currencies, markets, instrument
// kinds, issuers and securities. Month offsets are counted from the month of the day the
// data is built around (0 = that month, -1 = the month before, the usual report period).
// Internal to the generator.

#include <array>

namespace demo::catalog {

/// The home country key; client and market keys compare against it.
constexpr const char* kHome = "S";

struct Country {
    const char* key;
    const char* abbreviation;
    const char* name;
};

inline constexpr std::array kCountries = {
    Country{"S", "SVN", "Slovenija"},
    Country{"A", "AUT", "Avstrija"},
    Country{"D", "DEU", "Nemčija"},
    Country{"H", "HRV", "Hrvaška"},
    Country{"U", "USA", "Združene države"},
    Country{"C", "CHE", "Švica"},
    Country{"G", "GBR", "Velika Britanija"},
    Country{"I", "ITA", "Italija"},
    Country{"L", "LUX", "Luksemburg"},
    Country{"N", "NLD", "Nizozemska"},
    Country{"B", "BIH", "Bosna in Hercegovina"},
    Country{"R", "SRB", "Srbija"},
};

enum class Currency { EUR, USD, CHF, GBP, SIT, Count };

struct CurrencyInfo {
    const char* code;    ///< VLT.SFVLT
    const char* numeric; ///< VLT.ST
    const char* name;
    double perEuro; ///< starting value of the rate in units per euro
};

inline constexpr std::array<CurrencyInfo, 5> kCurrencies = {
    CurrencyInfo{"EUR", "978", "Evro", 1.0},
    CurrencyInfo{"USD", "840", "Ameriški dolar", 1.08},
    CurrencyInfo{"CHF", "756", "Švicarski frank", 0.95},
    CurrencyInfo{"GBP", "826", "Britanski funt", 0.86},
    CurrencyInfo{"SIT", "705", "Slovenski tolar", 239.64},
};

/// Fixed conversion rate of the old home currency (SIT per euro).
constexpr double kConversionRate = 239.64;

struct Activity {
    const char* code;
    const char* name;
};

/// DJV: the five selectable activities, W (always reported) and K (never offered).
inline constexpr std::array kActivities = {
    Activity{"W", "Skrbniške storitve"},
    Activity{"L", "Lastni posli"},
    Activity{"N", "Gospodarjenje s portfelji"},
    Activity{"U", "Upravljanje skladov"},
    Activity{"C", "Posredovanje - komisija"},
    Activity{"X", "Posredovanje - tuji trgi"},
    Activity{"K", "Kreditni posli"},
};

struct Market {
    int id;
    const char* name;
    const char* country; ///< nullptr: NULL, "": blank
    const char* kind;    ///< SFTRZ; '1' is the primary market; nullptr: NULL
};

namespace market {
constexpr int Primary = 1, Ljubljana = 2, OtcHome = 3, Vienna = 4, Frankfurt = 5, NewYork = 6, Zagreb = 7,
              Zurich = 8, London = 9, Luxembourg = 10, OtcForeign = 11, Unknown = 12, Internal = 13;
}

inline constexpr std::array kMarkets = {
    Market{market::Primary, "Primarni trg", "S", "1"},
    Market{market::Ljubljana, "Ljubljanska borza", "S", "2"},
    Market{market::OtcHome, "OTC Slovenija", "S", "3"},
    Market{market::Vienna, "Dunajska borza", "A", "2"},
    Market{market::Frankfurt, "Frankfurtska borza", "D", "2"},
    Market{market::NewYork, "Newyorška borza", "U", "2"},
    Market{market::Zagreb, "Zagrebška borza", "H", "2"},
    Market{market::Zurich, "Švicarska borza", "C", "2"},
    Market{market::London, "Londonska borza", "G", "2"},
    Market{market::Luxembourg, "Luksemburška borza", "L", "2"},
    Market{market::OtcForeign, "Tuji OTC", "U", nullptr},
    Market{market::Unknown, "Neopredeljen trg", nullptr, "3"},
    Market{market::Internal, "Interni trg", "", "3"},
};

struct InstrumentKind {
    const char* code;
    const char* name;
    const char* listed; ///< FIN.SFLST
};

/// FIN: kinds 'E' and 'G' are never reported; 'B' is not a listed kind.
inline constexpr std::array kInstrumentKinds = {
    InstrumentKind{"D", "Delnice", "L"},
    InstrumentKind{"O", "Obveznice", "L"},
    InstrumentKind{"S", "Investicijski kuponi", "L"},
    InstrumentKind{"B", "Zakladne menice", "N"},
    InstrumentKind{"E", "Komercialni zapisi", "L"},
    InstrumentKind{"G", "Blagajniški zapisi", "N"},
};

struct Issuer {
    int id; ///< OSB.SFOSB
    const char* name;
    const char* country;
    const char* sector; ///< nullptr: NULL
    const char* regNo;
};

/// Person 2, the reporting institution, is written by the generator itself.
inline constexpr std::array kIssuers = {
    Issuer{1, "Republika Slovenija", "S", "S.1311", "5854814"},
    Issuer{3, "Mestna občina Ljubljana", "S", "S.1313", "5874025"},
    Issuer{4, "Zavod za pokojninsko varstvo", "S", "S.1314", "5075304"},
    Issuer{5, "Alpina Farmacija d.d.", "S", "S.11", "5043611"},
    Issuer{6, "Sava Energija d.d.", "S", "S.11", "5034337"},
    Issuer{7, "Tekstil Kranj d.d.", "S", "S.11", "5041970"},
    Issuer{8, "Triglavska zavarovalnica d.d.", "S", "S.128", "5063345"},
    Issuer{9, "Savinjska banka d.d.", "S", "S.12201", "5026237"},
    Issuer{10, "Avtoceste Slovenije d.d.", "S", "S.11001", "1554891"},
    Issuer{11, "Gorenjska pivovarna d.d.", "S", "S.11", "5045053"},
    Issuer{12, "Skladi Karavanke d.o.o.", "S", "S.124", "1267442"},
    Issuer{13, "Mlinarstvo Šentjur d.d.", "S", "S.11", "5107563000"},
    Issuer{14, "Jadranska banka d.d.", "H", "S.122", "080002817"},
    Issuer{15, "Donau Versicherung AG", "A", "S.128", "FN 75012d"},
    Issuer{16, "Rhein Chemie AG", "D", "S.11", "HRB 6684"},
    Issuer{17, "Atlantic Motors Inc.", "U", "S.11", "38-0549190"},
    Issuer{18, "Alpen Pharma AG", "C", "S.11", "CHE-106.323.137"},
    Issuer{19, "Thames Utilities plc", "G", "S.11", "02366661"},
    Issuer{20, "Republik Österreich", "A", "S.1311", ""},
    Issuer{21, "Bundesrepublik Deutschland", "D", "S.1311", ""},
    Issuer{22, "United States Treasury", "U", "S.1311", ""},
    Issuer{23, "Tirolia Holz AG", "A", "S.11", "FN 41871x"},
    Issuer{24, "Balkan Trgovina d.d.", "B", nullptr, "4200043750"},
    Issuer{25, "Lombardia Energia S.p.A.", "I", "S.11", "IT01234560157"},
    Issuer{26, "Nederland Finance B.V.", "N", "S.127", "33264523"},
    Issuer{27, "Vinarstvo Vipava d.d.", "S", "S.11", "5143535"},
};

/// How a security's trades are priced: in the home currency (SIT before the euro
/// changeover, EUR from it on) or in a foreign currency.
enum class Quote { Home, EUR, USD, CHF, GBP };

struct Listing {
    int market;
    int fromMonth; ///< month offset of the listing's first day (its 1st); <= -60 means long ago
    int toMonth;   ///< month offset of its last day (the 15th); 999 means still listed
};

constexpr int kLongAgo = -60;
constexpr int kStillListed = 999;
constexpr int kNone = 999;

/// A security of the demo. Kinds: shares, bonds ('%' price unit), bills, fund units.
struct Security {
    int id;            ///< SFVP.SFVP
    const char* label; ///< SFVP.KRT
    const char* name;
    const char* isinCountry; ///< first two letters of the ISIN
    const char* cfi;
    const char* kind; ///< SFVP.SFFIN
    int issuer;
    Currency nominalCurrency;
    double nominal;    ///< SFVP.GLVNMN
    double issued;     ///< SFVP.LOTEMS
    bool percentPrice; ///< SFGLVENT '%' (bonds and bills)
    double priceEuro;  ///< starting price of one unit in euro
    Quote quote;
    std::array<Listing, 2> listings; ///< market 0: no listing
    double couponRate;               ///< % a year, paid twice a year; 0: none
    int couponMonth;                 ///< month offset of one coupon day (the 15th)
    int maturityMonth;               ///< month offset of the maturity day (the 15th); kNone: none
    bool amortising;                 ///< repays a tenth of the nominal at every coupon
    double dividend;                 ///< euro per share a year; 0: none
    int dividendMonth;               ///< month offset of one dividend month
    double foreignTax;               ///< share of the gross income withheld abroad
    int issueMonth;                  ///< month offset of the issue day (the 10th); kNone: issued long ago
    int weight;                      ///< how often random positions choose it
};

constexpr Listing L(int market, int from = kLongAgo, int to = kStillListed) {
    return {market, from, to};
}
constexpr Listing kNoListing{0, 0, 0};

// clang-format off
inline constexpr std::array kSecurities = {
    // Home issuers, listed at home (wholly domestic for home clients).
    Security{101, "ALFG", "Alpina Farmacija d.d.", "SI", "ESVUFR", "D", 5, Currency::EUR, 4.17, 3500000, false, 78.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 2.40, -1, 0, kNone, 10},
    Security{103, "GPIV", "Gorenjska pivovarna d.d.", "SI", "ESVUFR", "D", 11, Currency::EUR, 41.73, 520000, false, 125.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 5.00, 3, 0, kNone, 4},
    Security{104, "TRZV", "Triglavska zavarovalnica d.d.", "SI", "ESVUFR", "D", 8, Currency::EUR, 1.0, 22700000, false, 27.5, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 1.80, -1, 0, kNone, 8},
    Security{105, "SBNK", "Savinjska banka d.d.", "SI", "ESVUFR", "D", 9, Currency::EUR, 1.0, 20000000, false, 14.2, Quote::Home, {L(market::Ljubljana), L(market::OtcHome)}, 0, 0, kNone, false, 0, 0, 0, kNone, 6},
    Security{106, "RS55", "RS 4,5 % obveznica", "SI", "DBFTFB", "O", 1, Currency::EUR, 1000, 1500000, true, 1020.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 4.5, -1, 40, false, 0, 0, 0, kNone, 8},
    Security{107, "RS62", "RS 3,25 % amortizacijska obveznica", "SI", "DBFTFB", "O", 1, Currency::EUR, 1000, 800000, true, 995.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 3.25, -1, 60, true, 0, 0, 0, kNone, 5},
    Security{108, "OLJ1", "MOL 2,875 % obveznica", "SI", "DBFTFB", "O", 3, Currency::EUR, 1000, 60000, true, 1003.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 2.875, -3, 30, false, 0, 0, 0, kNone, 3},
    Security{109, "DARS", "Avtoceste 3,6 % obveznica", "SI", "DBFTFB", "O", 10, Currency::EUR, 1000, 250000, true, 1011.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 3.6, -2, 18, false, 0, 0, 0, kNone, 3},
    Security{110, "SBN3", "Savinjska banka 5 % obveznica", "SI", "DBFTFB", "O", 9, Currency::EUR, 1000, 40000, true, 1004.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 5.0, -1, -1, false, 0, 0, 0, kNone, 4},
    Security{114, "SKK1", "VS Karavanke uravnoteženi", "SI", "EUOMFR", "S", 12, Currency::EUR, 1.0, 9000000, false, 11.5, Quote::Home, {L(market::OtcHome), kNoListing}, 0, 0, kNone, false, 0, 0, 0, kNone, 5},
    Security{115, "MLIN", "Mlinarstvo Šentjur d.d.", "SI", "ESVUFR", "D", 13, Currency::EUR, 4.17, 60000, false, 22.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 0.90, -5, 0, kNone, 1},
    Security{116, "TZ12", "RS zakladna menica 12 mesecev", "SI", "DYZXXR", "B", 1, Currency::EUR, 1000, 200000, true, 985.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, -5, false, 0, 0, 0, kNone, 3},
    Security{117, "KZ01", "Sava Energija komercialni zapis", "SI", "DYZXXR", "E", 6, Currency::EUR, 1000, 30000, true, 990.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 0, 0, 0, kNone, 2},
    Security{118, "BZ02", "Savinjska banka blagajniški zapis", "SI", "DYZXXR", "G", 9, Currency::EUR, 1000, 20000, true, 992.0, Quote::Home, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 0, 0, 0, kNone, 2},
    Security{119, "TKRG", "Tekstil Kranj d.d.", "SI", "ESVUFR", "D", 7, Currency::EUR, 4.17, 1200000, false, 6.4, Quote::Home, {L(market::Ljubljana, kLongAgo, -8), kNoListing}, 0, 0, kNone, false, 0, 0, 0, kNone, 3},
    Security{120, "VIPV", "Vinarstvo Vipava d.d.", "SI", "ESVUFR", "D", 27, Currency::EUR, 4.17, 800000, false, 18.0, Quote::Home, {kNoListing, kNoListing}, 0, 0, kNone, false, 0, 0, 0, kNone, 2},
    Security{122, "SBIC", "Savinjska banka certifikat", "SI", "DBFTFB", "O", 9, Currency::EUR, 100, 500000, true, 101.0, Quote::Home, {L(market::Internal), kNoListing}, 2.0, -4, 50, false, 0, 0, 0, kNone, 2},
    // New issue in the usual report period, bought on the primary market.
    Security{113, "RS81", "RS 3,125 % obveznica (nova izdaja)", "SI", "DBFTFB", "O", 1, Currency::EUR, 1000, 1000000, true, 1000.0, Quote::Home, {L(market::Ljubljana, -1), kNoListing}, 3.125, -1, 72, false, 0, 0, 0, -1, 4},
    // Home issuers listed abroad as well (the foreign listing decides the market).
    Security{102, "SEN1", "Sava Energija d.d.", "SI", "ESVUFR", "D", 6, Currency::EUR, 4.17, 2800000, false, 31.0, Quote::Home, {L(market::Ljubljana), L(market::Vienna)}, 0, 0, kNone, false, 1.10, -4, 0, kNone, 8},
    Security{133, "RS70", "RS 1,5 % evroobveznica", "XS", "DBFTFB", "O", 1, Currency::EUR, 1000, 3000000, true, 930.0, Quote::EUR, {L(market::Luxembourg), kNoListing}, 1.5, -4, 110, false, 0, 0, 0, kNone, 5},
    // Labels ending in _S: reported only before the euro changeover.
    Security{111, "SEN2_S", "Sava Energija d.d. prednostne", "SI", "EPNXXR", "D", 6, Currency::EUR, 4.17, 400000, false, 29.0, Quote::Home, {L(market::Ljubljana), L(market::Vienna)}, 0, 0, kNone, false, 0, 0, 0, kNone, 3},
    Security{112, "ALF2_S", "Alpina Farmacija d.d. druga izdaja", "SI", "ESVUFR", "D", 5, Currency::EUR, 4.17, 300000, false, 76.0, Quote::Home, {L(market::Ljubljana), L(market::Zagreb)}, 0, 0, kNone, false, 0, 0, 0, kNone, 3},
    // Foreign issuers listed at home.
    Security{123, "JBNK", "Jadranska banka d.d.", "HR", "ESVUFR", "D", 14, Currency::EUR, 10, 16000000, false, 52.0, Quote::EUR, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 1.50, -1, 0.10, kNone, 5},
    Security{124, "DONV", "Donau Versicherung AG", "AT", "ESVUFR", "D", 15, Currency::EUR, 1.0, 128000000, false, 38.0, Quote::EUR, {L(market::Ljubljana), kNoListing}, 0, 0, kNone, false, 1.30, -3, 0.275, kNone, 5},
    Security{134, "LOMB", "Lombardia Energia S.p.A.", "IT", "ESVUFR", "D", 25, Currency::EUR, 1.0, 310000000, false, 4.6, Quote::EUR, {L(market::Ljubljana, -4), kNoListing}, 0, 0, kNone, false, 0.20, -2, 0.26, kNone, 3},
    // Foreign issuers listed abroad.
    Security{125, "RHEIN", "Rhein Chemie AG", "DE", "ESVUFR", "D", 16, Currency::EUR, 1.0, 250000000, false, 64.0, Quote::EUR, {L(market::Frankfurt), kNoListing}, 0, 0, kNone, false, 3.20, -1, 0.26375, kNone, 10},
    Security{126, "ATLM", "Atlantic Motors Inc.", "US", "ESVUFR", "D", 17, Currency::USD, 0.01, 900000000, false, 134.0, Quote::USD, {L(market::NewYork), kNoListing}, 0, 0, kNone, false, 0.62, -2, 0.15, kNone, 10},
    Security{127, "APHA", "Alpen Pharma AG", "CH", "ESVUFR", "D", 18, Currency::CHF, 0.1, 2100000000, false, 95.0, Quote::CHF, {L(market::Zurich), kNoListing}, 0, 0, kNone, false, 2.90, 2, 0.35, kNone, 6},
    Security{128, "THMS", "Thames Utilities plc", "GB", "ESVUFR", "D", 19, Currency::GBP, 0.5, 660000000, false, 11.4, Quote::GBP, {L(market::London), kNoListing}, 0, 0, kNone, false, 0.48, -6, 0, kNone, 5},
    Security{129, "RAGB", "Republik Österreich 2,4 %", "AT", "DBFTFB", "O", 20, Currency::EUR, 1000, 9000000, true, 980.0, Quote::EUR, {L(market::Vienna), kNoListing}, 2.4, -1, 100, false, 0, 0, 0, kNone, 4},
    Security{130, "DBR", "Bundesrepublik Deutschland 1,7 %", "DE", "DBFTFB", "O", 21, Currency::EUR, 1000, 25000000, true, 970.0, Quote::EUR, {L(market::Frankfurt), kNoListing}, 1.7, -3, 90, false, 0, 0, 0, kNone, 4},
    Security{131, "UST", "US Treasury 4,25 %", "US", "DBFTFB", "O", 22, Currency::USD, 1000, 70000000, true, 915.0, Quote::USD, {L(market::NewYork), L(market::OtcForeign)}, 4.25, -2, 80, false, 0, 0, 0, kNone, 4},
    Security{132, "TIRL", "Tirolia Holz AG", "AT", "ESVUFR", "D", 23, Currency::EUR, 1.0, 40000, false, 120.0, Quote::EUR, {L(market::Vienna), kNoListing}, 0, 0, kNone, false, 4.00, -1, 0.275, kNone, 1},
    Security{135, "NLFN", "Nederland Finance 3 %", "XS", "DBFTFB", "O", 26, Currency::EUR, 1000, 500000, true, 1001.0, Quote::EUR, {L(market::Luxembourg), kNoListing}, 3.0, -5, 45, false, 0, 0, 0, kNone, 3},
    Security{136, "JB28", "Jadranska banka 4 % obveznica", "HR", "DBFTFB", "O", 14, Currency::EUR, 1000, 150000, true, 1015.0, Quote::EUR, {L(market::Zagreb), kNoListing}, 4.0, -2, 30, false, 0, 0, 0, kNone, 3},
    // Listed only where the market's country is unknown: never selected.
    Security{121, "BTRG", "Balkan Trgovina d.d.", "BA", "ESVUFR", "D", 24, Currency::EUR, 1.0, 5000000, false, 3.1, Quote::EUR, {L(market::Unknown), kNoListing}, 0, 0, kNone, false, 0, 0, 0, kNone, 2},
};
// clang-format on

} // namespace demo::catalog
