-- Back-office tables of the embedded demo database (SQLite).
--
-- Only the tables and columns that the report reads are kept, plus a few descriptive
-- columns (names, listing numbers) that make the demo data readable.
-- Conventions of the embedded engine:
--   * dates and date-times are ISO text 'YYYY-MM-DD HH:MM:SS' (00:00:00 for whole days),
--     declared DATE;
--   * amounts, prices, quantities and rates are FLOAT (REAL affinity), so that SQLite never
--     divides integers;
--   * ids are INTEGER, codes and names VARCHAR2(n).

-- Activity (custody business) codes.
CREATE TABLE DJV (
    SFDJV           VARCHAR2(1)  NOT NULL PRIMARY KEY,
    NZV             VARCHAR2(60)
);

-- Countries: key and three-letter abbreviation. 'S' is the home country.
CREATE TABLE DRZ (
    SFDRZ           VARCHAR2(3)  NOT NULL PRIMARY KEY,
    KRT             VARCHAR2(3),
    NZV             VARCHAR2(60)
);

-- Persons: clients, issuers and the reporting institution itself (SFOSB = 2).
CREATE TABLE OSB (
    SFOSB           INTEGER      NOT NULL PRIMARY KEY,
    NZV             VARCHAR2(90),
    IME             VARCHAR2(60),
    MTS             VARCHAR2(15),
    SFSOS           VARCHAR2(1),
    SFDRZ           VARCHAR2(3),
    SEKTORIZACIJA   VARCHAR2(10)
);

-- Currency changeovers; OZNAKA 'ES' is the euro changeover, DANOD its first day.
CREATE TABLE EUROOBD (
    OZNAKA          VARCHAR2(2)  NOT NULL,
    DANOD           DATE         NOT NULL,
    NZV             VARCHAR2(60)
);

-- Currencies with their numeric code ST.
CREATE TABLE VLT (
    SFVLT           VARCHAR2(3)  NOT NULL PRIMARY KEY,
    ST              VARCHAR2(3),
    NZV             VARCHAR2(40)
);

-- Exchange rates per rate list SFVLN ('0' is the middle rate list) and day.
CREATE TABLE VLN (
    SFVLN           VARCHAR2(2)  NOT NULL,
    SFVLT           VARCHAR2(3)  NOT NULL,
    DAN             DATE         NOT NULL,
    TCJ             FLOAT
);

-- Kinds of financial instrument; SFLST 'L' marks listed kinds.
CREATE TABLE FIN (
    SFFIN           VARCHAR2(2)  NOT NULL PRIMARY KEY,
    NZV             VARCHAR2(60),
    SFLST           VARCHAR2(1)
);

-- Markets with their country; SFTRZ '1' is the primary (issue) market.
CREATE TABLE TRG (
    SFTRG           INTEGER      NOT NULL PRIMARY KEY,
    NZV             VARCHAR2(60),
    SFDRZTRG        VARCHAR2(3),
    SFTRZ           VARCHAR2(1)
);

-- Security master.
CREATE TABLE SFVP (
    SFVP            INTEGER      NOT NULL PRIMARY KEY,
    KRT             VARCHAR2(60),
    NZV             VARCHAR2(90),
    ISIN            VARCHAR2(12),
    CFI             VARCHAR2(6),
    SFFIN           VARCHAR2(2),
    SFOSBIZD        INTEGER,
    SFVLTNMN        VARCHAR2(3),
    GLVNMN          FLOAT,
    LOTEMS          FLOAT,
    SFGLVENT        VARCHAR2(1),
    ZPDVP           DATE
);

-- Listings of a security on a market, from DAN until DANPRK (NULL while listed).
CREATE TABLE KTC (
    SFKTC           INTEGER      NOT NULL PRIMARY KEY,
    SFVP            INTEGER      NOT NULL,
    SFTRG           INTEGER      NOT NULL,
    DAN             DATE         NOT NULL,
    DANPRK          DATE
);

-- Custody contracts of a client under one activity; POROCANJE_VRP 'D' keeps a contract out
-- of the report.
CREATE TABLE POG (
    IDPOG           INTEGER      NOT NULL PRIMARY KEY,
    SFOSB           INTEGER      NOT NULL,
    SFDJV           VARCHAR2(1),
    ST              VARCHAR2(20),
    DANOD           DATE,
    POROCANJE_VRP   VARCHAR2(1)
);

-- Accounting periods of the trades.
CREATE TABLE OBD (
    IDOBD           INTEGER      NOT NULL PRIMARY KEY,
    DANOD           DATE,
    DANDO           DATE,
    NZV             VARCHAR2(40)
);

-- Orders; PTFVP 'N' keeps an order's trades out of purchases and sales.
CREATE TABLE PSL (
    IDPSL           INTEGER      NOT NULL PRIMARY KEY,
    IDPOG           INTEGER,
    DAN             DATE,
    PTFVP           VARCHAR2(1),
    PVZPRJDOD       FLOAT
);

-- Costs charged on an order.
CREATE TABLE STO (
    IDSTO           INTEGER      NOT NULL PRIMARY KEY,
    IDPSL           INTEGER      NOT NULL,
    VRD             FLOAT,
    TCJVLT          FLOAT
);

-- Trades and other security movements (income, redemptions, transfers).
-- LOT is the quantity, VP the signed change of the holding, GLVVLT the price in the trade's
-- currency, TCJVLT its rate at settlement and TCJTVL the conversion of an amount concluded
-- in the old currency.
CREATE TABLE DOG (
    IDDOG           INTEGER      NOT NULL PRIMARY KEY,
    IDPOG           INTEGER      NOT NULL,
    SFVP            INTEGER      NOT NULL,
    SFDJV           VARCHAR2(1),
    SFPDG           VARCHAR2(1),
    SFDOG           VARCHAR2(4),
    SFFIS           VARCHAR2(1),
    SFTRG           INTEGER,
    IDPSL           INTEGER,
    IDOBD           INTEGER,
    DAN             DATE,
    ZPD             DATE,
    LOT             FLOAT,
    VP              FLOAT,
    GLVVLT          FLOAT,
    TCJVLT          FLOAT,
    TCJTVL          FLOAT,
    PVZPLC          FLOAT,
    PVZPRJ          FLOAT,
    OBRVLT          FLOAT,
    GOT             FLOAT,
    SFGLVENT        VARCHAR2(1)
);

-- Daily holdings per contract and security: quantity LOT0 (and LOT), price GLV and accrued
-- interest per unit OBR in the reporting currency, and the values GLVVRD, OBRVRD.
CREATE TABLE VPSHST (
    DAN             DATE         NOT NULL,
    IDPOG           INTEGER      NOT NULL,
    SFVP            INTEGER      NOT NULL,
    SFDJV           VARCHAR2(1),
    SFSVP           VARCHAR2(1),
    LOT0            FLOAT,
    LOT             FLOAT,
    GLV             FLOAT,
    OBR             FLOAT,
    GLVVRD          FLOAT,
    OBRVRD          FLOAT
);

-- Payment schedule per security: coupons and dividends (OBROBRBRT gross, STRTUJ foreign
-- tax, OBROBR net per unit) and principal repayments (GLVOBR per unit), from PRVDAN to the
-- payment day ZDNDAN.
CREATE TABLE KPN (
    SFVP            INTEGER      NOT NULL,
    PRVDAN          DATE,
    ZDNDAN          DATE         NOT NULL,
    GLVOBR          FLOAT,
    OBROBRBRT       FLOAT,
    STRTUJ          FLOAT,
    OBROBR          FLOAT
);

-- Installation settings.
CREATE TABLE INISET (
    KLJUC           VARCHAR2(40) NOT NULL,
    VREDNOST        VARCHAR2(255)
);

-- ---------------------------------------------------------------------------------------
-- Demo indexes: the look-ups of the report's statements (the id columns above are primary
-- keys and need none, e.g. POG.IDPOG, PSL.IDPSL, OSB.SFOSB, SFVP.SFVP).
-- ---------------------------------------------------------------------------------------
CREATE INDEX VPSHST_DAN_SFVP_IDPOG ON VPSHST (DAN, SFVP, IDPOG);
CREATE INDEX DOG_SFVP_IDPOG_ZPD ON DOG (SFVP, IDPOG, ZPD);
CREATE INDEX DOG_ZPD ON DOG (ZPD);
CREATE INDEX KTC_SFVP_DAN ON KTC (SFVP, DAN);
CREATE INDEX VLN_SFVLT_SFVLN_DAN ON VLN (SFVLT, SFVLN, DAN);
CREATE INDEX KPN_SFVP_ZDNDAN ON KPN (SFVP, ZDNDAN);
CREATE INDEX POG_SFOSB ON POG (SFOSB);
CREATE INDEX STO_IDPSL ON STO (IDPSL);
CREATE INDEX INISET_KLJUC ON INISET (KLJUC);
-- The work tables (created before this script): a report row is completed and a detail row
-- reviewed by its report number and CTRL; the income of a sector-group report row looks up the
-- detail rows of its report with the same ISIN (the statement compares COALESCE(K25,'')); the
-- workbook reads the report rows of one report in the order of K16.
CREATE INDEX TEMP_TEVRA1_IDPOR_CTRL ON TEMP_TEVRA1 (IDPOR, CTRL);
CREATE INDEX TEMP_TEVRA1_IDPOR_K25 ON TEMP_TEVRA1 (IDPOR, COALESCE(K25, ''));
CREATE INDEX TEMP_TEVRA_IDPOR_CTRL ON TEMP_TEVRA (IDPOR, CTRL);
CREATE INDEX TEMP_TEVRA_IDPOR_K16 ON TEMP_TEVRA (IDPOR, K16);
