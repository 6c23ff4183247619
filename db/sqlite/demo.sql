-- Demo data: three companies with their ledger, users and groups, and a few
-- configured causals of the mass payment module.

INSERT INTO CG10_GRUPPICONTI (CG10_CODICE, CG10_DESCR) VALUES
    (1, 'Piano dei conti aziende commerciali'),
    (2, 'Piano dei conti aziende alimentari');

INSERT INTO CG18_DITTE (CG18_CODICE, CG18_RAGSOC, CG18_PARTITAIVA, CG18_GRUPPO_CG10) VALUES
    (1, 'Rossi Distribuzione S.p.A.', '01234560157', 1),
    (2, 'Bianchi Impianti S.r.l.', '04567890962', 1),
    (3, 'Verdi Alimentari S.n.c.', '02345670345', 2);

-- Master accounts (CG24_FLGANALITICO = 0) only group the postable ones below them.
INSERT INTO CG24_PIANOCONTI (CG24_GRUPPO_CG10, CG24_CODICE, CG24_DESCR, CG24_MASTRO_CG24, CG24_FLGANALITICO, CG24_INDNATURA) VALUES
    (1, '14', 'Crediti verso clienti', NULL, 0, 1),
    (1, '1401', 'Clienti Italia', '14', 0, 1),
    (1, '140101', 'Clienti nazionali', '1401', 1, 1),
    (1, '140102', 'Clienti esteri', '1401', 1, 1),
    (1, '1402', 'Effetti attivi', '14', 0, 1),
    (1, '140201', 'Effetti salvo buon fine', '1402', 1, 1),
    (1, '140202', 'Effetti insoluti', '1402', 1, 1),
    (1, '18', 'Disponibilità liquide', NULL, 0, 1),
    (1, '1801', 'Banche', '18', 0, 1),
    (1, '180101', 'Banca Intesa c/c 1234', '1801', 1, 1),
    (1, '180102', 'UniCredit c/c 5678', '1801', 1, 1),
    (1, '180103', 'Banca Intesa c/anticipi SBF', '1801', 1, 1),
    (1, '1802', 'Cassa', '18', 0, 1),
    (1, '180201', 'Cassa contanti', '1802', 1, 1),
    (1, '40', 'Debiti verso fornitori', NULL, 0, 2),
    (1, '4001', 'Fornitori Italia', '40', 0, 2),
    (1, '400101', 'Fornitori nazionali', '4001', 1, 2),
    (1, '400102', 'Fornitori esteri', '4001', 1, 2),
    (1, '4002', 'Erario', '40', 0, 2),
    (1, '400201', 'Erario c/ritenute da versare', '4002', 1, 2),
    (1, '70', 'Proventi e oneri finanziari', NULL, 0, 3),
    (1, '7001', 'Abbuoni e arrotondamenti', '70', 0, 3),
    (1, '700101', 'Abbuoni attivi', '7001', 1, 3),
    (1, '700102', 'Abbuoni passivi', '7001', 1, 3),
    (2, '10', 'Crediti', NULL, 0, 1),
    (2, '1001', 'Clienti', '10', 1, 1),
    (2, '1002', 'Effetti all''incasso', '10', 1, 1),
    (2, '20', 'Banche e cassa', NULL, 0, 1),
    (2, '2001', 'Banca Popolare c/c 9012', '20', 1, 1),
    (2, '2002', 'Cassa', '20', 1, 1),
    (2, '30', 'Debiti', NULL, 0, 2),
    (2, '3001', 'Fornitori', '30', 1, 2),
    (2, '80', 'Abbuoni', NULL, 0, 3),
    (2, '8001', 'Abbuoni attivi', '80', 1, 3),
    (2, '8002', 'Abbuoni passivi', '80', 1, 3);

-- Ledger causals. Those tied to a VAT register (CG33_INDTIPOREG <> 0) cannot
-- post a mass payment; CG33_INDGESTEC = 2 settles open items, 1 only records
-- them; CG33_FLGINSOLUTI = 4 posts bills collected as expected.
INSERT INTO CG33_TABCAU (CG33_CODICE, CG33_DESCR, CG33_INDTIPOREG, CG33_FLGACCONTO, CG33_FLGECONTO, CG33_FLGPORTAF, CG33_INDGESTEC, CG33_FLGINSOLUTI) VALUES
    ('INC', 'Incasso da cliente', 0, 0, 0, 0, 2, 0),
    ('PAG', 'Pagamento a fornitore', 0, 0, 0, 0, 2, 0),
    ('BON', 'Bonifico a fornitore', 0, 0, 1, 0, 2, 0),
    ('RIB', 'Incasso ricevute bancarie', 0, 0, 0, 1, 2, 0),
    ('SBF', 'Accredito salvo buon fine', 0, 0, 0, 1, 2, 1),
    ('IBF', 'Incasso effetti buon fine', 0, 0, 0, 1, 2, 4),
    ('INS', 'Insoluto ricevute bancarie', 0, 0, 0, 1, 2, 2),
    ('RCH', 'Richiamo effetti', 0, 0, 0, 1, 2, 3),
    ('ACC', 'Acconto da cliente', 0, 1, 0, 0, 1, 0),
    ('ACF', 'Acconto a fornitore', 0, 1, 0, 0, 2, 0),
    ('ABB', 'Abbuoni e arrotondamenti', 0, 0, 0, 0, 2, 0),
    ('CMP', 'Compensazione partite', NULL, 0, 0, 0, 2, 0),
    ('GIR', 'Giroconto', 0, 0, 0, 0, 0, 0),
    ('FTV', 'Fattura di vendita', 1, 0, 0, 0, 1, 0),
    ('FTA', 'Fattura di acquisto', 2, 0, 0, 0, 1, 0),
    ('NCV', 'Nota di credito a cliente', 1, 0, 0, 0, 2, 0),
    ('COR', 'Corrispettivi', 3, 0, 0, 0, 0, 0);

-- Bill types of the instalments: 1 rimessa diretta, 2 tratta, 3 ricevuta
-- bancaria, 5 RID, 6 MAV, 13 contanti, 14 bonifico bancario.
INSERT INTO CG62_CONDPAG (CG62_CODICE, CG62_DESCR) VALUES
    ('RD', 'Rimessa diretta vista fattura'),
    ('CON', 'Contanti'),
    ('BB30', 'Bonifico bancario 30 gg d.f.'),
    ('RB30', 'Ricevuta bancaria 30 gg f.m.'),
    ('RB3060', 'Ricevuta bancaria 30/60 gg f.m.'),
    ('RD30R60', 'Rimessa diretta 30 gg, RiBa 60 gg'),
    ('RID30', 'RID 30 gg d.f.'),
    ('TR60', 'Tratta 60 gg d.f.'),
    ('MAV90', 'MAV 90 gg d.f.');

INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_NUMRATA, CG63_TIPOEFF, CG63_GIORNI, CG63_PERCENTUALE) VALUES
    ('RD', 1, 1, 0, 100),
    ('CON', 1, 13, 0, 100),
    ('BB30', 1, 14, 30, 100),
    ('RB30', 1, 3, 30, 100),
    ('RB3060', 1, 3, 30, 50),
    ('RB3060', 2, 3, 60, 50),
    ('RD30R60', 1, 1, 30, 50),
    ('RD30R60', 2, 3, 60, 50),
    ('RID30', 1, 5, 30, 100),
    ('TR60', 1, 2, 60, 100),
    ('MAV90', 1, 6, 90, 100);

-- "RP" exists in every company but is kept for provisional postings.
INSERT INTO CG68_NUMERDESC (CG68_DITTA_CG18, CG68_SEZIONALE, CG68_DESCSEZ) VALUES
    (1, '00', 'Sezionale principale'),
    (1, '01', 'Sezionale vendite'),
    (1, 'A1', 'Acconti clienti'),
    (1, 'A2', 'Acconti fornitori'),
    (1, 'RP', 'Registrazioni provvisorie'),
    (2, '00', 'Sezionale principale'),
    (2, 'A1', 'Acconti'),
    (2, 'RP', 'Registrazioni provvisorie'),
    (3, '00', 'Sezionale unico'),
    (3, 'RP', 'Registrazioni provvisorie');

INSERT INTO FW06_GROUPUSR (FW06_ID, FW06_CODICE, FW06_DESCR) VALUES
    (1, 'AMMINISTRAZIONE', 'Amministrazione'),
    (2, 'CONTABILITA', 'Contabilità generale'),
    (3, 'TESORERIA', 'Tesoreria'),
    (4, 'COMMERCIALE', 'Ufficio commerciale');

INSERT INTO FW07_APPUSER (FW07_ID, FW07_CODICE, FW07_DESCR, FW07_USERNAME, FW07_FLGATTIVO, FW07_ID_FW06) VALUES
    (1, 'VELTO', 'Amministratore di sistema', 'VELTO', 1, 1),
    (2, 'MROSSI', 'Mario Rossi', 'MROSSI', 1, 2),
    (3, 'LBIANCHI', 'Laura Bianchi', 'LBIANCHI', 1, 3),
    (4, 'GVERDI', 'Giuseppe Verdi', 'GVERDI', 0, 2),
    (5, 'AFERRARI', 'Anna Ferrari', 'AFERRARI', 1, 4),
    (6, 'PNERI', 'Paolo Neri', 'PNERI', 0, 4);

-- Ledger settings of a company are named after the company: Bianchi Impianti posts the
-- due dates of each branch office as registrations of their own.
INSERT INTO FW95_SETTINGS (FW95_CODICE, FW95_VALORE) VALUES
    ('GEST_STATI_DISABLE', '0'),
    ('DECIMALI_IMPORTI', '2'),
    ('GestioneSedi.2', '1'),
    ('RegistrazioneSedeUnica.2', '0');

-- Configured causals: 150 is reserved to the system user; 320 extracts the due
-- dates of 300 (customers) and 310 (suppliers), so those two cannot be deleted.
INSERT INTO CGP0_DUEBILCAUSALI (CGP0_CAUSALE, CGP0_DESCRIZIONE) VALUES
    (150, 'Gestione stati effetti'),
    (300, 'Incasso RiBa clienti'),
    (310, 'Pagamento bonifici fornitori'),
    (320, 'Compensazione clienti/fornitori');

INSERT INTO CGP5_DUEBILPARAM (CGP5_CAUSALE_CGP0, CGP5_TIPOCAUSALE, CGP5_TIPOSCADENZA, CGP5_INDRECUPERO, CGP5_INDIMPMASSIMO, CGP5_INDIMPSCADENZA, CGP5_INDGESTABBUONI, CGP5_CREADISTINTA) VALUES
    (150, 7, 0, 0, 0, 0, 0, 0),
    (300, 1, 0, 1, 1, 1, 1, 0),
    (310, 2, 0, 1, 2, 1, 1, 1),
    (320, 6, 0, 1, 0, 0, 0, 0);

-- Each causal starts from the catalogue defaults of its operation type; 320
-- (compensation has no defaults of its own) from those of the closing of open items.
INSERT INTO CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2, CGP4_CHECKED)
    SELECT 150, CGP2_ID, CGP2_DEFAULTGESTIONESTATI FROM CGP2_DUEBILCHECK;
INSERT INTO CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2, CGP4_CHECKED)
    SELECT 300, CGP2_ID, CGP2_DEFAULTINCASSI FROM CGP2_DUEBILCHECK;
INSERT INTO CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2, CGP4_CHECKED)
    SELECT 310, CGP2_ID, CGP2_DEFAULTPAGAMENTI FROM CGP2_DUEBILCHECK;
INSERT INTO CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2, CGP4_CHECKED)
    SELECT 320, CGP2_ID, CGP2_DEFAULTCHIUSPART FROM CGP2_DUEBILCHECK;
-- 300 collects RiBa only.
UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 0
 WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 IN (8, 9, 11, 13, 14);

INSERT INTO CGP6_DUEBILPARAMDITTA (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0, CGP6_MESI, CGP6_DESCRAGGTESTATA, CGP6_MODIFICACONTI, CGP6_INDNUMDATADOC, CGP6_TIPOREGISTRAZIONE, CGP6_CREADISTINTA, CGP6_INDACCONTI, CGP6_DELTAIMPORTO, CGP6_INDNETTOPREVISIONALI, CGP6_CAUSALECOMPCLI_CGP0, CGP6_CAUSALECOMPFOR_CGP0, CGP6_INDVISANTEPRIMA, CGP6_INDPAGVALUTA) VALUES
    (1, 150, 12, 0, 0, 0, 1, 0, 0, 0, 1, NULL, NULL, 0, 0),
    (2, 150, 12, 0, 0, 0, 1, 0, 0, 0, 1, NULL, NULL, 0, 0),
    (3, 150, 12, 0, 0, 0, 1, 0, 0, 0, 1, NULL, NULL, 0, 0),
    (1, 300, 3, 1, 0, 1, 1, 1, 0, 0, 0, NULL, NULL, 1, 0),
    (2, 300, 6, 0, 1, 0, 1, 1, 0, 0, 0, NULL, NULL, 0, 0),
    (3, 300, 2, 0, 0, 0, 2, 0, 0, 0, 0, NULL, NULL, 0, 0),
    (1, 310, 2, 1, 1, 1, 1, 0, 0, 0, 0, NULL, NULL, 1, 0),
    (2, 310, 3, 0, 0, 1, 1, 0, 0, 0, 0, NULL, NULL, 0, 0),
    (3, 310, 1, 0, 0, 0, 0, 0, 0, 0, 0, NULL, NULL, 0, 0),
    (1, 320, 6, 0, 0, 0, 1, 0, 0, 5, 1, 300, 310, 0, 0),
    (2, 320, 6, 0, 0, 0, 1, 0, 0, 2, 1, 300, 310, 0, 0),
    (3, 320, 12, 0, 0, 0, 1, 0, 0, 0, 0, 300, 310, 0, 0);

INSERT INTO CGP7_DUEBILPERSREG (CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0, CGP7_GRUPPO_CG10, CGP7_CAUSALECOGE_CG33, CGP7_CONTODARE_CG24, CGP7_CONTOAVERE_CG24, CGP7_INDDETTREGIST, CGP7_INDDETTRIGACONT, CGP7_CAUSALEABB_CG33, CGP7_CONTOABBATTIVI_CG24, CGP7_CONTOABBPASSIVI_CG24, CGP7_TESTORIGA, CGP7_INDPAGRITENUTE, CGP7_CONDPAGACCONTI_CG62, CGP7_SEZIONALEACCONTI_CG68, CGP7_INDDESCRCP) VALUES
    (1, 150, 1, 'GIR', NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (2, 150, 1, 'GIR', NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (3, 150, 2, 'GIR', NULL, NULL, 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (1, 300, 1, 'RIB', '180101', NULL, 1, 1, 'ABB', '700101', '700102', 'Incasso RiBa n. [NUMDOC] del [DATADOC]', 0, 'RD', 'A1', 0),
    (2, 300, 1, 'RIB', '180102', NULL, 0, 0, 'ABB', '700101', '700102', NULL, 0, NULL, '00', 0),
    (3, 300, 2, 'INC', '2001', NULL, 0, 0, 'ABB', '8001', '8002', NULL, 0, NULL, '00', 0),
    (1, 310, 1, 'BON', NULL, '180102', 2, 1, 'ABB', '700101', '700102', 'Bonifico fattura [NUMDOC]', 1, 'BB30', 'A2', 0),
    (2, 310, 1, 'PAG', NULL, '180101', 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (3, 310, 2, 'PAG', NULL, '2001', 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (1, 320, 1, 'CMP', '140101', '400101', 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (2, 320, 1, 'CMP', '140101', '400101', 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0),
    (3, 320, 2, 'CMP', '1001', '3001', 0, 0, NULL, NULL, NULL, NULL, 0, NULL, '00', 0);

-- CGP3_SORTTYPE: 0 none, 1 ascending, 2 descending.
INSERT INTO CGP3_DUEBILGRIGLIA (CGP3_CAUSALE_CGP0, CGP3_IDFIELD_CGP1, CGP3_VISIBLEORDER, CGP3_SORTTYPE, CGP3_GROUPED) VALUES
    (300, 30, 1, 1, 0),
    (300, 2010, 2, 1, 1),
    (300, 40, 3, 0, 0),
    (300, 80, 4, 0, 0),
    (300, 110, 5, 2, 0),
    (310, 30, 1, 1, 0),
    (310, 2010, 2, 0, 0),
    (310, 40, 3, 2, 0),
    (310, 220, 4, 0, 0),
    (310, 300, 5, 0, 0);

-- The sales office does not pay suppliers; a former accountant may no longer collect.
INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07) VALUES
    (310, 4, NULL),
    (300, NULL, 4);

INSERT INTO FW41_SELEZIONEPARAMSCADENZE (FW41_DITTA_CG18, FW41_UOBJECT, FW41_CODICE, FW41_INDTIPOPAG, FW41_SELEZIONATO, FW41_DATIPO, FW41_ALTIPO) VALUES
    (1, 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG', 300, 1, 0, NULL, NULL),
    (1, 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG', 300, 3, 1, 3, 3),
    (1, 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG', 310, 14, 1, 14, 14),
    (2, 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG', 300, 3, 1, 3, 3);

INSERT INTO FW17_ORDERPRS (FW17_UOBJECT, FW17_ID_FW07, FW17_POSIZIONE, FW17_CAMPO, FW17_INDVERSO) VALUES
    ('CGUO_DUEBIL.CLSCG_DUEBIL_300', 2, 1, 'CG44_DATASCADENZA', 0),
    ('CGUO_DUEBIL.CLSCG_DUEBIL_300', 2, 2, 'CG44_IMPORTO', 1);

INSERT INTO FW18_SELEZIONEPRS (FW18_UOBJECT, FW18_ID_FW07, FW18_CAMPO, FW18_VALORE) VALUES
    ('CGUO_DUEBIL.CLSCG_DUEBIL_300', 2, 'CG44_BANCAPRES_CG12', '03069'),
    ('CGUO_DUEBIL.CLSCG_DUEBIL_310', 3, 'CG44_DATASCADENZA', '30');
