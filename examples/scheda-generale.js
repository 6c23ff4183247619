// Generale: the months of due dates a payment run looks back on, for causal 310 and company 1.
// A refused entry, a saved one, and the causal shown again to see what was kept.
function didascalia(combo) {
    var valore = host.value(combo);
    var voci = host.items(combo).filter(function (voce) { return voce.value === valore; });
    return voci.length ? voci[0].caption : "";
}

host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "310");
    host.setTab(0);
    host.log("Causale 310: " + host.value("TXT_DESCRIZIONE"));
    host.log("Tipo operazione: " + didascalia("CBO_TIPOOPERAZIONE"));
    host.log("Mesi prima: " + host.value("TXT_MESI"));
    host.log("Mesi '4x' accettato: " + host.setValue("TXT_MESI", "4x"));
    host.log("Mesi '4' accettato: " + host.setValue("TXT_MESI", "4"));
    host.log("Salvata: " + host.press("Conferma"));

    // Shown again from the database: the navigator's "Nuovo" empties the window, the code reads it.
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "310");
    var righe = host.query("SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1");
    host.log("Mesi riletti: " + host.value("TXT_MESI"));
    host.log("Mesi nel database: " + righe[0].CGP6_MESI);
    host.quit(host.value("TXT_MESI") === "4" && righe[0].CGP6_MESI === 4 ? 0 : 1);
});
