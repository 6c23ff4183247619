// Changes the description of causal 300, saves it, shows another causal, comes back and
// checks that the description was stored. Run with:
//   scripts/run --script examples/rinomina-causale.js
// or build/bin/duebil-host --db demo.db --script examples/rinomina-causale.js
var nuova = "Incasso RiBa clienti (rivista)";

host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "300");
    host.setValue("TXT_DESCRIZIONE", nuova);
    if (!host.press("Conferma")) {
        host.log("Salvataggio non riuscito: " + host.messages().join(" | "));
        host.quit(1);
        return;
    }
    // Another causal, then back: the window reads the causal again from the database.
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "310");
    host.answer(7);            // "No" if the window offers to save the causal just shown
    host.press("Nuovo");
    host.setValue("TXT_CAUSALE", "300");
    var letta = host.value("TXT_DESCRIZIONE");
    var righe = host.query("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300");
    host.log("Descrizione sulla finestra: " + letta);
    host.log("Descrizione nel database: " + righe[0].CGP0_DESCRIZIONE);
    host.quit(letta === nuova && righe[0].CGP0_DESCRIZIONE === nuova ? 0 : 1);
});

// The window closes only when nothing is left unsaved by the script.
host.onClose(function () {
    return true;
});
