#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

/// Period values of a run, all derived from the dates in DATUM OD and DATUM DO.
struct PeriodValues {
    QDate PeriodFrom;
    QDate PeriodTo;
    QString PeriodCode; ///< YYYYMM of PeriodFrom
    QDate MonthStart;
    QDate MonthEnd;
    QDate PriorClose; ///< closing day before the period (PeriodFrom itself on the euro changeover day)
};

/// One entry of the country table: key (DRZ.SFDRZ) and abbreviation (DRZ.KRT).
struct CountryEntry {
    QString key;
    QString abbreviation;
};

/// The country table: entries in the order of DRZ, looked up by key (the first entry of a key wins).
class CountryTable {
public:
    CountryTable() = default;
    CountryTable(std::initializer_list<CountryEntry> entries) {
        for (const CountryEntry& e : entries) append(e);
    }
    void append(const CountryEntry& e) {
        entries_.append(e);
        if (!index_.contains(e.key)) index_.insert(e.key, e.abbreviation);
    }
    void clear() {
        entries_.clear();
        index_.clear();
    }
    qsizetype size() const { return entries_.size(); }
    auto begin() const { return entries_.cbegin(); }
    auto end() const { return entries_.cend(); }
    /// The abbreviation of `key`, or null when the table has no such key.
    const QString* abbreviation(const QString& key) const {
        const auto it = index_.constFind(key);
        return it == index_.cend() ? nullptr : &it.value();
    }

private:
    QList<CountryEntry> entries_;
    QHash<QString, QString> index_;
};

/// The process-wide values of the program: written by start-up and the report run, read by every step.
struct RunState {
    bool firstActivation = true;

    QString DbAlias;
    QString DbUser;
    QString DbPassword;
    bool DbOracle = true;

    QStringList ActivityCodes; ///< up to nine; entries 0..4 belong to the boxes cbD1..cbD5
    QStringList ActivityNames;
    QString InstitutionName; ///< OSB.NZV of person 2, for the window caption
    QString SfdjvList;
    QString OutputFileName;
    QString ProgramFolder; ///< with a trailing separator
    QString IdpogExclusionList;
    qint32 IdPor = 0;
    PeriodValues period;

    QDate EuroChangeoverDate; ///< invalid until read: matches no date
    bool EuroPeriod = false;
    QString SfdogExclusionList;

    QString ClientId;
    QString ReporterRegNo;
    ::CountryTable CountryTable;

    QList<qint32> UnsectoredPersons;
    int ProgressCount = 0;
    int ProgressTotal = 0;
    int SheetRow = 0;
};
