// Utenti: causal 310 is withdrawn also from user LBIANCHI, typed by the user name; the group
// field closes once a user is chosen. Then saved and read back.
function elenco() {
    return host.rows("QGRID_GRUPPIUTENTI").map(function (riga) {
        return riga.FW06_CODICE ? "gruppo " + riga.FW06_CODICE : "utente " + riga.FW07_USERNAME;
    }).join(", ");
}

host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "310");
    host.setTab(4);
    host.log("Revocata a: " + elenco());
    host.log("Nuova riga: " + host.press("GRIDNAVREVOKE.NUOVO"));
    host.log("Utente LBIANCHI: " + host.setValue("TXT_UTENTE", "lbianchi") + " - " + host.value("TXT_UTENTE")
             + " " + host.value("LBL_DESCRUTENTE"));
    host.log("Gruppo modificabile: " + host.isEnabled("TXT_GRUPPO"));
    host.clickRow("QGRID_GRUPPIUTENTI", 0);
    host.log("Prima riga: gruppo '" + host.value("TXT_GRUPPO") + "', utente '" + host.value("TXT_UTENTE")
             + "', modificabili " + host.isEnabled("TXT_GRUPPO") + " " + host.isEnabled("TXT_UTENTE"));
    host.log("Salvata: " + host.press("Conferma"));

    // Shown again from the database: the navigator's "Nuovo" empties the window, the code reads it.
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "310");
    var righe = host.query("SELECT CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = 310"
                           + " ORDER BY CGP8_ID_FW07");
    host.log("Riletta, revocata a: " + elenco());
    host.log("Nel database: " + righe.map(function (riga) {
        return riga.CGP8_ID_FW06 ? "gruppo " + riga.CGP8_ID_FW06 : "utente " + riga.CGP8_ID_FW07;
    }).join(", "));
    host.quit(righe.some(function (riga) { return riga.CGP8_ID_FW07 === 3; }) ? 0 : 1);
});
