-- Due-bill configuration module on Microsoft SQL Server: the module's own tables,
-- their indexes and catalogues. Safe to run again on a database that already holds
-- some or all of them: only what is missing is created, nothing present is changed.
-- Run with sqlcmd (GO separates the batches) on the host's accounting database.
SET ANSI_NULLS ON;
SET QUOTED_IDENTIFIER ON;
GO

-- Configured causals.
IF OBJECT_ID(N'dbo.CGP0_DUEBILCAUSALI', N'U') IS NULL
    CREATE TABLE dbo.CGP0_DUEBILCAUSALI (
        CGP0_CAUSALE      INT            NOT NULL PRIMARY KEY,
        CGP0_DESCRIZIONE  NVARCHAR(255)  NULL DEFAULT N''
    );
GO

-- Catalogue of the fields the due-date grid can show.
IF OBJECT_ID(N'dbo.CGP1_DUEBILFIELD', N'U') IS NULL
    CREATE TABLE dbo.CGP1_DUEBILFIELD (
        CGP1_ID           INT            NOT NULL PRIMARY KEY,
        CGP1_FIELD        NVARCHAR(128)  NOT NULL,
        CGP1_TABLE        NVARCHAR(128)  NOT NULL,
        CGP1_DESCRIZIONE  NVARCHAR(255)  NOT NULL DEFAULT N'',
        CGP1_DESCRTABLE   NVARCHAR(255)  NOT NULL DEFAULT N''
    );
GO

-- Catalogue of the due-date selection checks, with a default state per operation type.
IF OBJECT_ID(N'dbo.CGP2_DUEBILCHECK', N'U') IS NULL
    CREATE TABLE dbo.CGP2_DUEBILCHECK (
        CGP2_ID                    INT            NOT NULL PRIMARY KEY,
        CGP2_TIPOFILTRO            NVARCHAR(128)  NOT NULL DEFAULT N'',
        CGP2_DESCRIZIONE           NVARCHAR(255)  NOT NULL DEFAULT N'',
        CGP2_DEFAULTINCASSI        INT            NOT NULL DEFAULT 0,
        CGP2_DEFAULTPAGAMENTI      INT            NOT NULL DEFAULT 0,
        CGP2_DEFAULTCHIUSPART      INT            NOT NULL DEFAULT 0,
        CGP2_DEFAULTINCASSIBF      INT            NOT NULL DEFAULT 0,
        CGP2_DEFAULTSOSPENSIONE    INT            NOT NULL DEFAULT 0,
        CGP2_DEFAULTGESTIONESTATI  INT            NOT NULL DEFAULT 0
    );
GO

-- Grid layout per causal.
IF OBJECT_ID(N'dbo.CGP3_DUEBILGRIGLIA', N'U') IS NULL
    CREATE TABLE dbo.CGP3_DUEBILGRIGLIA (
        CGP3_CAUSALE_CGP0  INT            NOT NULL,
        CGP3_IDFIELD_CGP1  INT            NOT NULL,
        CGP3_VISIBLEORDER  INT            NULL DEFAULT 0,
        CGP3_SORTTYPE      INT            NULL DEFAULT 0,
        CGP3_GROUPED       INT            NULL DEFAULT 0,
        PRIMARY KEY (CGP3_CAUSALE_CGP0, CGP3_IDFIELD_CGP1)
    );
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGP3_ORDINE' AND object_id = OBJECT_ID(N'dbo.CGP3_DUEBILGRIGLIA'))
    CREATE INDEX IX_CGP3_ORDINE ON dbo.CGP3_DUEBILGRIGLIA (CGP3_CAUSALE_CGP0, CGP3_VISIBLEORDER);
GO

-- State of each selection check per causal.
IF OBJECT_ID(N'dbo.CGP4_DUEBILFILTRI', N'U') IS NULL
    CREATE TABLE dbo.CGP4_DUEBILFILTRI (
        CGP4_CAUSALE_CGP0  INT            NOT NULL,
        CGP4_IDCHECK_CGP2  INT            NOT NULL,
        CGP4_CHECKED       INT            NULL DEFAULT 0,
        PRIMARY KEY (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2)
    );
GO

-- Parameters per causal, independent of the company.
IF OBJECT_ID(N'dbo.CGP5_DUEBILPARAM', N'U') IS NULL
    CREATE TABLE dbo.CGP5_DUEBILPARAM (
        CGP5_CAUSALE_CGP0    INT            NOT NULL PRIMARY KEY,
        CGP5_TIPOCAUSALE     INT            NULL DEFAULT 1,
        CGP5_TIPOSCADENZA    INT            NULL DEFAULT 0,
        CGP5_INDRECUPERO     INT            NULL DEFAULT 0,
        CGP5_INDIMPMASSIMO   INT            NULL DEFAULT 0,
        CGP5_INDIMPSCADENZA  INT            NULL DEFAULT 0,
        CGP5_INDGESTABBUONI  INT            NULL DEFAULT 0,
        CGP5_CREADISTINTA    INT            NULL DEFAULT 0
    );
GO

-- Parameters per company and causal.
IF OBJECT_ID(N'dbo.CGP6_DUEBILPARAMDITTA', N'U') IS NULL
    CREATE TABLE dbo.CGP6_DUEBILPARAMDITTA (
        CGP6_DITTA_CG18            INT            NOT NULL,
        CGP6_CAUSALE_CGP0          INT            NOT NULL,
        CGP6_MESI                  INT            NULL DEFAULT 0,
        CGP6_DESCRAGGTESTATA       INT            NULL DEFAULT 0,
        CGP6_MODIFICACONTI         INT            NULL DEFAULT 0,
        CGP6_INDNUMDATADOC         INT            NULL DEFAULT 0,
        CGP6_TIPOREGISTRAZIONE     INT            NULL DEFAULT 1,
        CGP6_CREADISTINTA          INT            NULL DEFAULT 0,
        CGP6_INDACCONTI            INT            NULL DEFAULT 0,
        CGP6_DELTAIMPORTO          DECIMAL(18, 4) NULL DEFAULT 0,
        CGP6_INDNETTOPREVISIONALI  INT            NULL DEFAULT 0,
        CGP6_CAUSALECOMPCLI_CGP0   INT            NULL,
        CGP6_CAUSALECOMPFOR_CGP0   INT            NULL,
        CGP6_INDVISANTEPRIMA       INT            NULL DEFAULT 0,
        CGP6_INDPAGVALUTA          INT            NULL DEFAULT 0,
        PRIMARY KEY (CGP6_CAUSALE_CGP0, CGP6_DITTA_CG18)
    );
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGP6_DITTA' AND object_id = OBJECT_ID(N'dbo.CGP6_DUEBILPARAMDITTA'))
    CREATE INDEX IX_CGP6_DITTA ON dbo.CGP6_DUEBILPARAMDITTA (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0);
GO

-- A causal used to extract due dates of another one cannot be deleted: looked up by these.
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGP6_COMPCLI' AND object_id = OBJECT_ID(N'dbo.CGP6_DUEBILPARAMDITTA'))
    CREATE INDEX IX_CGP6_COMPCLI ON dbo.CGP6_DUEBILPARAMDITTA (CGP6_CAUSALECOMPCLI_CGP0);
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGP6_COMPFOR' AND object_id = OBJECT_ID(N'dbo.CGP6_DUEBILPARAMDITTA'))
    CREATE INDEX IX_CGP6_COMPFOR ON dbo.CGP6_DUEBILPARAMDITTA (CGP6_CAUSALECOMPFOR_CGP0);
GO

-- Posting personalisation per company, causal and account-structure group.
IF OBJECT_ID(N'dbo.CGP7_DUEBILPERSREG', N'U') IS NULL
    CREATE TABLE dbo.CGP7_DUEBILPERSREG (
        CGP7_DITTA_CG18             INT            NOT NULL,
        CGP7_CAUSALE_CGP0           INT            NOT NULL,
        CGP7_GRUPPO_CG10            INT            NOT NULL,
        CGP7_CAUSALECOGE_CG33       NVARCHAR(20)   NULL,
        CGP7_CONTODARE_CG24         NVARCHAR(20)   NULL,
        CGP7_CONTOAVERE_CG24        NVARCHAR(20)   NULL,
        CGP7_INDDETTREGIST          INT            NULL DEFAULT 0,
        CGP7_INDDETTRIGACONT        INT            NULL DEFAULT 0,
        CGP7_CAUSALEABB_CG33        NVARCHAR(20)   NULL,
        CGP7_CONTOABBATTIVI_CG24    NVARCHAR(20)   NULL,
        CGP7_CONTOABBPASSIVI_CG24   NVARCHAR(20)   NULL,
        CGP7_TESTORIGA              NVARCHAR(240)  NULL,
        CGP7_INDPAGRITENUTE         INT            NULL DEFAULT 0,
        CGP7_CONDPAGACCONTI_CG62    NVARCHAR(20)   NULL,
        CGP7_SEZIONALEACCONTI_CG68  NVARCHAR(20)   NULL DEFAULT N'00',
        CGP7_INDDESCRCP             INT            NULL DEFAULT 0,
        PRIMARY KEY (CGP7_CAUSALE_CGP0, CGP7_DITTA_CG18, CGP7_GRUPPO_CG10)
    );
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGP7_DITTA' AND object_id = OBJECT_ID(N'dbo.CGP7_DUEBILPERSREG'))
    CREATE INDEX IX_CGP7_DITTA ON dbo.CGP7_DUEBILPERSREG (CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0);
GO

-- Users and groups for whom a causal is withdrawn: each row names a group or a user.
IF OBJECT_ID(N'dbo.CGP8_DUEBILREVOKE', N'U') IS NULL
    CREATE TABLE dbo.CGP8_DUEBILREVOKE (
        CGP8_CAUSALE_CGP0  INT            NOT NULL,
        CGP8_ID_FW06       INT            NULL,
        CGP8_ID_FW07       INT            NULL
    );
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGP8_CAUSALE' AND object_id = OBJECT_ID(N'dbo.CGP8_DUEBILREVOKE'))
    CREATE INDEX IX_CGP8_CAUSALE ON dbo.CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07);
GO

-- The module's own record of the changes it made to causals: one row per table row changed,
-- the rows of one operation sharing CGPL_IDOPERAZIONE. CGPL_INDOPERAZIONE: 1 save, 2 new causal,
-- 3 duplication, 4 delete, 5 import; CGPL_INDMODIFICA: 0 values changed, 1 row added, 2 row
-- removed. CGPL_CHIAVE holds the row's key and CGPL_VALORI each column's [old, new] value, as JSON.
-- Rows stay when their causal is deleted. Without this table nothing is recorded.
IF OBJECT_ID(N'dbo.CGPL_DUEBILSTORICO', N'U') IS NULL
    CREATE TABLE dbo.CGPL_DUEBILSTORICO (
        CGPL_ID             INT            IDENTITY(1, 1) NOT NULL PRIMARY KEY,
        CGPL_IDOPERAZIONE   NVARCHAR(32)   NOT NULL,
        CGPL_CAUSALE_CGP0   INT            NOT NULL,
        CGPL_DATAORA        NVARCHAR(23)   NOT NULL,
        CGPL_UTENTE         NVARCHAR(64)   NOT NULL,
        CGPL_INDOPERAZIONE  SMALLINT       NOT NULL,
        CGPL_TABELLA        NVARCHAR(64)   NOT NULL,
        CGPL_INDMODIFICA    SMALLINT       NOT NULL,
        CGPL_CHIAVE         NVARCHAR(MAX)  NOT NULL,
        CGPL_VALORI         NVARCHAR(MAX)  NOT NULL
    );
GO

IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = N'IX_CGPL_CAUSALE' AND object_id = OBJECT_ID(N'dbo.CGPL_DUEBILSTORICO'))
    CREATE INDEX IX_CGPL_CAUSALE ON dbo.CGPL_DUEBILSTORICO (CGPL_CAUSALE_CGP0, CGPL_ID);
GO

-- Catalogues delivered with the database: the fields the due-date grid of the
-- mass payment screen can show, and the due-date selection checks with their
-- default state per operation type.
INSERT INTO dbo.CGP1_DUEBILFIELD (CGP1_ID, CGP1_FIELD, CGP1_TABLE, CGP1_DESCRIZIONE, CGP1_DESCRTABLE)
SELECT c.CGP1_ID, c.CGP1_FIELD, c.CGP1_TABLE, c.CGP1_DESCRIZIONE, c.CGP1_DESCRTABLE
FROM (VALUES
    (10, N'CG44_NUMPARTITA', N'CG44_SCADENZE', N'Numero partita', N'Scadenze'),
    (20, N'CG44_ANNOPARTITA', N'CG44_SCADENZE', N'Anno partita', N'Scadenze'),
    (30, N'CG44_DATASCADENZA', N'CG44_SCADENZE', N'Data scadenza', N'Scadenze'),
    (40, N'CG44_IMPORTO', N'CG44_SCADENZE', N'Importo scadenza', N'Scadenze'),
    (50, N'CG44_IMPORTOVALUTA', N'CG44_SCADENZE', N'Importo in valuta', N'Scadenze'),
    (60, N'CG44_CODVALUTA', N'CG44_SCADENZE', N'Valuta', N'Scadenze'),
    (70, N'CG44_CAMBIO', N'CG44_SCADENZE', N'Cambio', N'Scadenze'),
    (80, N'CG44_TIPOEFF', N'CG44_SCADENZE', N'Tipo effetto', N'Scadenze'),
    (90, N'CG44_NUMRATA', N'CG44_SCADENZE', N'Numero rata', N'Scadenze'),
    (100, N'CG44_DATADOC', N'CG44_SCADENZE', N'Data documento', N'Scadenze'),
    (110, N'CG44_NUMDOC', N'CG44_SCADENZE', N'Numero documento', N'Scadenze'),
    (120, N'CG44_PROTOCOLLO', N'CG44_SCADENZE', N'Protocollo', N'Scadenze'),
    (130, N'CG44_DATAREG', N'CG44_SCADENZE', N'Data registrazione', N'Scadenze'),
    (140, N'CG44_CONTO_CG24', N'CG44_SCADENZE', N'Conto', N'Scadenze'),
    (150, N'CG44_DESCRCONTO', N'CG44_SCADENZE', N'Descrizione conto', N'Scadenze'),
    (170, N'CG44_SEGNO', N'CG44_SCADENZE', N'Segno', N'Scadenze'),
    (180, N'CG44_STATO', N'CG44_SCADENZE', N'Stato scadenza', N'Scadenze'),
    (190, N'CG44_BANCAAPP_CG12', N'CG44_SCADENZE', N'Banca d''appoggio', N'Scadenze'),
    (200, N'CG44_ABI', N'CG44_SCADENZE', N'Codice ABI', N'Scadenze'),
    (210, N'CG44_CAB', N'CG44_SCADENZE', N'Codice CAB', N'Scadenze'),
    (220, N'CG44_IBAN', N'CG44_SCADENZE', N'IBAN', N'Scadenze'),
    (230, N'CG44_BANCAPRES_CG12', N'CG44_SCADENZE', N'Banca di presentazione', N'Scadenze'),
    (240, N'CG44_DATAPRES', N'CG44_SCADENZE', N'Data presentazione', N'Scadenze'),
    (250, N'CG44_NUMDISTINTA', N'CG44_SCADENZE', N'Numero distinta', N'Scadenze'),
    (260, N'CG44_DATADISTINTA', N'CG44_SCADENZE', N'Data distinta', N'Scadenze'),
    (270, N'CG44_IMPPAGATO', N'CG44_SCADENZE', N'Importo pagato', N'Scadenze'),
    (280, N'CG44_IMPRESIDUO', N'CG44_SCADENZE', N'Importo residuo', N'Scadenze'),
    (290, N'CG44_IMPABBUONO', N'CG44_SCADENZE', N'Importo abbuono', N'Scadenze'),
    (300, N'CG44_IMPRITENUTA', N'CG44_SCADENZE', N'Importo ritenuta', N'Scadenze'),
    (310, N'CG44_IMPONIBILERIT', N'CG44_SCADENZE', N'Imponibile ritenuta', N'Scadenze'),
    (320, N'CG44_CODTRIBUTO', N'CG44_SCADENZE', N'Codice tributo', N'Scadenze'),
    (330, N'CG44_DATAVALUTA', N'CG44_SCADENZE', N'Data valuta', N'Scadenze'),
    (340, N'CG44_DATAPAGAMENTO', N'CG44_SCADENZE', N'Data pagamento', N'Scadenze'),
    (350, N'CG44_GIORNIRITARDO', N'CG44_SCADENZE', N'Giorni di ritardo', N'Scadenze'),
    (360, N'CG44_FLGINSOLUTO', N'CG44_SCADENZE', N'Insoluto', N'Scadenze'),
    (370, N'CG44_DATAINSOLUTO', N'CG44_SCADENZE', N'Data insoluto', N'Scadenze'),
    (380, N'CG44_AGENTE_CG40', N'CG44_SCADENZE', N'Agente', N'Scadenze'),
    (390, N'CG44_ZONA', N'CG44_SCADENZE', N'Zona', N'Scadenze'),
    (400, N'CG44_CATEGORIA', N'CG44_SCADENZE', N'Categoria', N'Scadenze'),
    (410, N'CG44_NOTE', N'CG44_SCADENZE', N'Note scadenza', N'Scadenze'),
    (420, N'CG44_CIG', N'CG44_SCADENZE', N'Codice CIG', N'Scadenze'),
    (430, N'CG44_CUP', N'CG44_SCADENZE', N'Codice CUP', N'Scadenze'),
    (440, N'CG44_CENTROCOSTO', N'CG44_SCADENZE', N'Centro di costo', N'Scadenze'),
    (450, N'CG44_COMMESSA', N'CG44_SCADENZE', N'Commessa', N'Scadenze'),
    (460, N'CG44_FLGBLOCCATA', N'CG44_SCADENZE', N'Scadenza bloccata', N'Scadenze'),
    (470, N'CG44_MOTIVOBLOCCO', N'CG44_SCADENZE', N'Motivo blocco', N'Scadenze'),
    (480, N'CG44_FLGCONTENZIOSO', N'CG44_SCADENZE', N'In contenzioso', N'Scadenze'),
    (490, N'CG44_DATASOLLECITO', N'CG44_SCADENZE', N'Data ultimo sollecito', N'Scadenze'),
    (500, N'CG44_LIVSOLLECITO', N'CG44_SCADENZE', N'Livello sollecito', N'Scadenze'),
    (510, N'CG44_SEZIONALE_CG68', N'CG44_SCADENZE', N'Sezionale', N'Scadenze'),
    (520, N'CG44_REGISTROIVA', N'CG44_SCADENZE', N'Registro IVA', N'Scadenze'),
    (530, N'CG44_CAUSALE_CG33', N'CG44_SCADENZE', N'Causale contabile', N'Scadenze'),
    (540, N'CG44_DESCRCAUSALE', N'CG44_SCADENZE', N'Descrizione causale contabile', N'Scadenze'),
    (550, N'CG44_IMPORTODOC', N'CG44_SCADENZE', N'Totale documento', N'Scadenze'),
    (560, N'CG44_IMPIVA', N'CG44_SCADENZE', N'Imposta', N'Scadenze'),
    (570, N'CG44_FLGSPLIT', N'CG44_SCADENZE', N'Scissione dei pagamenti', N'Scadenze'),
    (580, N'CG44_CODPAG_CG62', N'CG44_SCADENZE', N'Condizione di pagamento', N'Scadenze'),
    (581, N'CG44_DESCRPAG', N'CG44_SCADENZE', N'Descrizione condizione di pagamento', N'Scadenze'),
    (590, N'CG44_BANCAAZ_CG12', N'CG44_SCADENZE', N'Banca aziendale', N'Scadenze'),
    (591, N'CG44_DESCRBANCAAZ', N'CG44_SCADENZE', N'Descrizione banca aziendale', N'Scadenze'),
    (600, N'CG44_CONTOCORRENTE', N'CG44_SCADENZE', N'Conto corrente', N'Scadenze'),
    (610, N'CG44_CIN', N'CG44_SCADENZE', N'CIN', N'Scadenze'),
    (620, N'CG44_SWIFT', N'CG44_SCADENZE', N'Codice BIC/SWIFT', N'Scadenze'),
    (630, N'CG44_MANDATOSEPA', N'CG44_SCADENZE', N'Mandato SEPA', N'Scadenze'),
    (640, N'CG44_DATAMANDATO', N'CG44_SCADENZE', N'Data firma mandato', N'Scadenze'),
    (650, N'CG44_FLGACCONTO', N'CG44_SCADENZE', N'Acconto', N'Scadenze'),
    (660, N'CG44_FLGCOMPENSAZIONE', N'CG44_SCADENZE', N'Compensazione', N'Scadenze'),
    (670, N'CG44_IMPACCONTI', N'CG44_SCADENZE', N'Acconti', N'Scadenze'),
    (680, N'CG44_RIFESTERNO', N'CG44_SCADENZE', N'Riferimento esterno', N'Scadenze'),
    (690, N'CG44_DESCRIZIONE', N'CG44_SCADENZE', N'Descrizione scadenza', N'Scadenze'),
    (700, N'CG44_DATAPREVISTA', N'CG44_SCADENZE', N'Data incasso prevista', N'Scadenze'),
    (710, N'CG44_FLGPREVISIONALE', N'CG44_SCADENZE', N'Previsionale', N'Scadenze'),
    (720, N'CG44_IMPPREVISIONALE', N'CG44_SCADENZE', N'Importo previsionale', N'Scadenze'),
    (730, N'CG44_NUMEFFETTO', N'CG44_SCADENZE', N'Numero effetto', N'Scadenze'),
    (740, N'CG44_SPESEINCASSO', N'CG44_SCADENZE', N'Spese di incasso', N'Scadenze'),
    (750, N'CG44_BOLLI', N'CG44_SCADENZE', N'Importo bolli', N'Scadenze'),
    (760, N'CG44_UTENTEMOD', N'CG44_SCADENZE', N'Utente ultima modifica', N'Scadenze'),
    (1000, N'CG45_DATAOPERAZIONE', N'CG45_STORICOSCAD', N'Data operazione', N'Storico'),
    (1010, N'CG45_TIPOOPERAZIONE', N'CG45_STORICOSCAD', N'Tipo operazione', N'Storico'),
    (1020, N'CG45_IMPORTO', N'CG45_STORICOSCAD', N'Importo operazione', N'Storico'),
    (1030, N'CG45_CAUSALE_CGP0', N'CG45_STORICOSCAD', N'Causale pagamento massivo', N'Storico'),
    (1040, N'CG45_NUMREG', N'CG45_STORICOSCAD', N'Numero registrazione', N'Storico'),
    (1050, N'CG45_UTENTE', N'CG45_STORICOSCAD', N'Utente operazione', N'Storico'),
    (2000, N'CG16_CODICE', N'CG16_CLIFOR', N'Codice cliente/fornitore', N'Anagrafiche'),
    (2010, N'CG16_RAGSOC', N'CG16_CLIFOR', N'Ragione sociale', N'Anagrafiche'),
    (2020, N'CG16_CODPAG_CG62', N'CG16_CLIFOR', N'Condizione di pagamento', N'Anagrafiche'),
    (2021, N'CG16_DESCRPAG', N'CG16_CLIFOR', N'Descrizione pagamento anagrafica', N'Anagrafiche'),
    (2030, N'CG16_PARTITAIVA', N'CG16_CLIFOR', N'Partita IVA', N'Anagrafiche'),
    (2031, N'CG16_CODFISCALE', N'CG16_CLIFOR', N'Codice fiscale', N'Anagrafiche'),
    (2040, N'CG16_NAZIONE', N'CG16_CLIFOR', N'Nazione', N'Anagrafiche'),
    (2041, N'CG16_DESCRNAZIONE', N'CG16_CLIFOR', N'Descrizione nazione', N'Anagrafiche'),
    (2050, N'CG16_PROVINCIA', N'CG16_CLIFOR', N'Provincia', N'Anagrafiche'),
    (2051, N'CG16_DESCRPROVINCIA', N'CG16_CLIFOR', N'Descrizione provincia', N'Anagrafiche'),
    (2060, N'CG16_AGENTE_CG40', N'CG16_CLIFOR', N'Agente anagrafica', N'Anagrafiche'),
    (2061, N'CG16_DESCRAGENTE', N'CG16_CLIFOR', N'Descrizione agente', N'Anagrafiche'),
    (2070, N'CG16_ZONA', N'CG16_CLIFOR', N'Zona anagrafica', N'Anagrafiche'),
    (2071, N'CG16_DESCRZONA', N'CG16_CLIFOR', N'Descrizione zona', N'Anagrafiche'),
    (2080, N'CG16_CATEGORIA', N'CG16_CLIFOR', N'Categoria anagrafica', N'Anagrafiche'),
    (2081, N'CG16_DESCRCATEGORIA', N'CG16_CLIFOR', N'Descrizione categoria', N'Anagrafiche'),
    (2090, N'CG16_BANCA_CG12', N'CG16_CLIFOR', N'Banca anagrafica', N'Anagrafiche'),
    (2091, N'CG16_DESCRBANCA', N'CG16_CLIFOR', N'Descrizione banca anagrafica', N'Anagrafiche'),
    (2100, N'CG16_GRUPPOCLI', N'CG16_CLIFOR', N'Gruppo clienti/fornitori', N'Anagrafiche'),
    (2101, N'CG16_DESCRGRUPPOCLI', N'CG16_CLIFOR', N'Descrizione gruppo clienti/fornitori', N'Anagrafiche'),
    (2110, N'CG16_FIDO', N'CG16_CLIFOR', N'Fido accordato', N'Anagrafiche'),
    (2111, N'CG16_ESPOSIZIONE', N'CG16_CLIFOR', N'Esposizione', N'Anagrafiche'),
    (3000, N'MG30_TIPODOC', N'MG30_DOCTESTATA', N'Tipo documento', N'Documenti'),
    (3010, N'MG30_NUMDOC', N'MG30_DOCTESTATA', N'Numero documento di origine', N'Documenti'),
    (3020, N'MG30_DATADOC', N'MG30_DOCTESTATA', N'Data documento di origine', N'Documenti'),
    (3030, N'MG30_RIFORDINE', N'MG30_DOCTESTATA', N'Riferimento ordine', N'Documenti'),
    (3040, N'MG30_DATAORDINE', N'MG30_DOCTESTATA', N'Data ordine', N'Documenti'),
    (3050, N'MG30_DESTINAZIONE', N'MG30_DOCTESTATA', N'Destinazione', N'Documenti'),
    (3060, N'MG30_VETTORE', N'MG30_DOCTESTATA', N'Vettore', N'Documenti'),
    (3070, N'MG30_TOTMERCE', N'MG30_DOCTESTATA', N'Totale merce', N'Documenti'),
    (3080, N'MG30_NOTE', N'MG30_DOCTESTATA', N'Note documento', N'Documenti'),
    (4000, N'MG31_CONTRATTO', N'MG31_CONTRATTI', N'Contratto', N'Documenti'),
    (4010, N'MG31_DESCRCONTRATTO', N'MG31_CONTRATTI', N'Descrizione contratto', N'Documenti')
) AS c (CGP1_ID, CGP1_FIELD, CGP1_TABLE, CGP1_DESCRIZIONE, CGP1_DESCRTABLE)
WHERE NOT EXISTS (SELECT 1 FROM dbo.CGP1_DUEBILFIELD AS e WHERE e.CGP1_ID = c.CGP1_ID);
GO

-- Groups STATOMOVIMENTO, TIPOOPERAZIONE and TIPOPRESENTAZIONE are set per causal;
-- the other groups are the user's own choice when the mass payment runs.
INSERT INTO dbo.CGP2_DUEBILCHECK (CGP2_ID, CGP2_TIPOFILTRO, CGP2_DESCRIZIONE, CGP2_DEFAULTINCASSI,
    CGP2_DEFAULTPAGAMENTI, CGP2_DEFAULTCHIUSPART, CGP2_DEFAULTINCASSIBF, CGP2_DEFAULTSOSPENSIONE,
    CGP2_DEFAULTGESTIONESTATI)
SELECT c.CGP2_ID, c.CGP2_TIPOFILTRO, c.CGP2_DESCRIZIONE, c.CGP2_DEFAULTINCASSI, c.CGP2_DEFAULTPAGAMENTI, c.CGP2_DEFAULTCHIUSPART, c.CGP2_DEFAULTINCASSIBF, c.CGP2_DEFAULTSOSPENSIONE, c.CGP2_DEFAULTGESTIONESTATI
FROM (VALUES
    (1, N'STATOMOVIMENTO', N'Definitivi', 1, 1, 1, 1, 1, 1),
    (2, N'STATOMOVIMENTO', N'Provvisori', 0, 0, 0, 0, 0, 1),
    (3, N'TIPOMOVIMENTO', N'Contabile', 1, 1, 1, 1, 1, 1),
    (4, N'TIPOMOVIMENTO', N'Extracontabile', 0, 0, 1, 0, 1, 1),
    (5, N'TIPOMOVIMENTO', N'Contabile ed extracontabile', 0, 0, 0, 0, 0, 1),
    (6, N'NASCOSTO', N'Scadenze bloccate', 0, 0, 0, 0, 0, 1),
    (7, N'NASCOSTO', N'Scadenze in contenzioso', 0, 0, 0, 0, 0, 1),
    (8, N'TIPOOPERAZIONE', N'Rimessa diretta', 1, 1, 1, 0, 1, 1),
    (9, N'TIPOOPERAZIONE', N'Tratta', 1, 0, 1, 0, 1, 1),
    (10, N'TIPOOPERAZIONE', N'Ricevuta bancaria', 1, 0, 1, 1, 1, 1),
    (11, N'TIPOOPERAZIONE', N'Bonifico', 1, 1, 1, 0, 1, 1),
    (12, N'TIPOOPERAZIONE', N'Compensazione', 0, 0, 0, 0, 0, 1),
    (13, N'TIPOOPERAZIONE', N'MAV', 1, 0, 1, 0, 1, 1),
    (14, N'TIPOOPERAZIONE', N'RID/SDD', 1, 0, 1, 0, 1, 1),
    (15, N'TIPOPRESENTAZIONE', N'Da presentare', 1, 1, 1, 0, 1, 1),
    (16, N'TIPOPRESENTAZIONE', N'Presentate salvo buon fine', 0, 0, 1, 1, 1, 1),
    (17, N'TIPOPRESENTAZIONE', N'Presentate al dopo incasso', 1, 0, 1, 0, 1, 1),
    (18, N'TIPOPRESENTAZIONE', N'Presentate allo sconto', 0, 0, 1, 0, 1, 1),
    (19, N'TIPOPRESENTAZIONE', N'Accreditate', 0, 0, 1, 0, 0, 1),
    (20, N'TIPOPRESENTAZIONE', N'Insolute', 1, 0, 1, 0, 1, 1),
    (21, N'TIPOPRESENTAZIONE', N'Richiamate', 1, 0, 1, 0, 1, 1),
    (22, N'TIPOPRESENTAZIONE', N'In distinta di pagamento', 0, 1, 1, 0, 1, 1),
    (23, N'TIPOPRESENTAZIONE', N'Pagate', 0, 0, 1, 0, 0, 1),
    (24, N'TIPOPRESENTAZIONE', N'Sospese', 0, 0, 1, 0, 0, 1),
    (25, N'TIPOSCADENZA', N'Effettive', 1, 1, 1, 1, 1, 1),
    (26, N'TIPOSCADENZA', N'Previsionali', 0, 0, 0, 0, 1, 1),
    (27, N'SEGNOSCADENZA', N'Dare', 1, 0, 1, 1, 1, 1),
    (28, N'SEGNOSCADENZA', N'Avere', 0, 1, 1, 0, 1, 1),
    (29, N'GESTRITENUTE', N'Senza ritenuta', 1, 1, 1, 1, 1, 1),
    (30, N'GESTRITENUTE', N'Con ritenuta d''acconto', 0, 0, 1, 0, 1, 1),
    (31, N'ACCONTO', N'Scadenze ordinarie', 1, 1, 1, 1, 1, 1),
    (32, N'ACCONTO', N'Acconti', 0, 0, 1, 0, 1, 1)
) AS c (CGP2_ID, CGP2_TIPOFILTRO, CGP2_DESCRIZIONE, CGP2_DEFAULTINCASSI, CGP2_DEFAULTPAGAMENTI, CGP2_DEFAULTCHIUSPART, CGP2_DEFAULTINCASSIBF, CGP2_DEFAULTSOSPENSIONE, CGP2_DEFAULTGESTIONESTATI)
WHERE NOT EXISTS (SELECT 1 FROM dbo.CGP2_DUEBILCHECK AS e WHERE e.CGP2_ID = c.CGP2_ID);
GO
