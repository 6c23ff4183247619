// Personalizzazione layout: the party number joins the due-date grid of causal 310, two places
// up, sorted ascending; a field already there is refused, and the withholding amount is removed.
// Then saved and read back.
function griglia() {
    return host.rows("QGRID_LAYOUT").map(function (riga) {
        return riga.CGP3_VISIBLEORDER + " " + riga.CGP1_DESCRIZIONE + (riga.CGP3_SORTTYPE ? " (" + riga.CGP3_SORTTYPE + ")" : "");
    }).join("; ");
}

host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "310");
    host.setTab(3);
    host.log("Griglia: " + griglia());
    host.log("Campo scelto: " + host.select("TVCAMPI", "CG44_SCADENZE.CG44_NUMPARTITA"));
    host.log("Aggiunto: " + host.press("BUT_SEL"));
    var ultima = host.rows("QGRID_LAYOUT").length - 1;
    host.clickRow("QGRID_LAYOUT", ultima);
    host.press("BUT_UP");
    host.press("BUT_UP");
    host.doubleClick("QGRID_LAYOUT", ultima - 2, "CGP3_SORTTYPE");
    host.select("TVCAMPI", "CG44_SCADENZE.CG44_IBAN");
    host.press("BUT_SEL");
    host.log("IBAN di nuovo: " + host.messages().join(""));
    host.clickRow("QGRID_LAYOUT", ultima);
    host.answer(6);            // "Sì" to the question before the removal
    host.log("Tolto: " + host.press("BUT_DESEL"));
    host.log("Griglia: " + griglia());
    host.log("Salvata: " + host.press("Conferma"));

    // Shown again from the database: the navigator's "Nuovo" empties the window, the code reads it.
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "310");
    var righe = host.query("SELECT CGP3_VISIBLEORDER, CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA"
                           + " WHERE CGP3_CAUSALE_CGP0 = 310 AND CGP3_IDFIELD_CGP1 = 10");
    host.log("Riletta: " + griglia());
    host.log("Nel database: posizione " + righe[0].CGP3_VISIBLEORDER + ", ordinamento " + righe[0].CGP3_SORTTYPE);
    var tolto = host.query("SELECT COUNT(*) AS N FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 310 AND CGP3_IDFIELD_CGP1 = 300");
    host.log("Importo ritenuta nel database: " + tolto[0].N);
    host.quit(righe.length === 1 && righe[0].CGP3_SORTTYPE === 1 && tolto[0].N === 0 ? 0 : 1);
});
