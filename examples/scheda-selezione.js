// Selezione scadenze: check 4 of causal 300 is ticked and the bill types are narrowed to bank
// receipts and RID; then saved and read back.
function spuntati() {
    var nomi = [];
    for (var i = 1; i <= 32; i++) {
        if (host.isVisible("CHK_FILTER_" + i) && host.value("CHK_FILTER_" + i) === "1")
            nomi.push(i);
    }
    return nomi.join(",");
}

host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "300");
    host.setTab(2);
    host.log("Check spuntati: " + spuntati());
    host.log("Check 4 modificabile: " + host.isEnabled("CHK_FILTER_4"));
    host.log("Check 4 (" + host.caption("CHK_FILTER_4") + ") spuntato: " + host.setValue("CHK_FILTER_4", "1"));
    host.log("Tipi effetto spuntati: " + host.setValue("KVS_SELSCADENZE", "3,5") + " -> " + host.value("KVS_SELSCADENZE"));
    host.log("Salvata: " + host.press("Conferma"));

    // Shown again from the database: the navigator's "Nuovo" empties the window, the code reads it.
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "300");
    var check = host.query("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 4");
    var tipi = host.query("SELECT FW41_INDTIPOPAG FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 300"
                          + " AND FW41_DITTA_CG18 = 1 AND FW41_SELEZIONATO = 1 ORDER BY FW41_INDTIPOPAG");
    host.log("Riletta: check " + spuntati() + ", tipi " + host.value("KVS_SELSCADENZE"));
    host.log("Nel database: check 4 = " + check[0].CGP4_CHECKED + ", tipi "
             + tipi.map(function (riga) { return riga.FW41_INDTIPOPAG; }).join(","));
    host.quit(check[0].CGP4_CHECKED === 1 && host.value("KVS_SELSCADENZE") === "3,5" ? 0 : 1);
});
