#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

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
    QList<CountryEntry> CountryTable;

    QList<qint32> UnsectoredPersons;
    int ProgressCount = 0;
    int ProgressTotal = 0;
    int SheetRow = 0;
};
