// Impostazione registrazione: the ledger causal of the posting of causal 300. The code is typed
// in lower case and the field writes it in upper case; a code the ledger does not hold is refused.
host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "300");
    host.setTab(1);
    host.log("Causale contabile: " + host.value("TXT_CAUSALECOGE") + " - " + host.value("TXT_DESCCAUINCPAG"));
    host.log("Conto dare: " + host.value("TXT_CONTODARE") + " - " + host.value("TXT_DESCCONTODARE"));
    host.log("'inc' accettata: " + host.setValue("TXT_CAUSALECOGE", "inc"));
    host.log("Causale contabile: " + host.value("TXT_CAUSALECOGE") + " - " + host.value("TXT_DESCCAUINCPAG"));
    host.log("Testo riga accettato: " + host.setValue("TXT_TESTOPARAMETRICO", "Incasso effetti"));
    host.log("Salvata: " + host.press("Conferma"));

    // Shown again from the database: the navigator's "Nuovo" empties the window, the code reads it.
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "300");
    host.setTab(1);
    var righe = host.query("SELECT CGP7_CAUSALECOGE_CG33, CGP7_TESTORIGA FROM CGP7_DUEBILPERSREG"
                           + " WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1");
    host.log("Riletta: " + host.value("TXT_CAUSALECOGE") + " - " + host.value("TXT_DESCCAUINCPAG")
             + ", testo '" + host.value("TXT_TESTOPARAMETRICO") + "'");
    host.log("Nel database: " + righe[0].CGP7_CAUSALECOGE_CG33 + ", testo '" + righe[0].CGP7_TESTORIGA + "'");
    host.quit(righe[0].CGP7_CAUSALECOGE_CG33 === "INC" && host.value("TXT_CAUSALECOGE") === "INC" ? 0 : 1);
});
