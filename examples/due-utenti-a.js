// Two users on one causal, first window. Run it, then due-utenti-b.js in a second host on the
// same database while this one waits:
//   build/bin/duebilconfig --db /tmp/demo.db init --demo
//   build/bin/duebil-host --db /tmp/demo.db --script examples/due-utenti-a.js &
//   sleep 4; build/bin/duebil-host --db /tmp/demo.db --script examples/due-utenti-b.js; wait
// This window reads causal 300, changes the months to 9 and saves only after the other window
// saved 7: its save is refused (kept editing with No, then reloaded with Sì), and after the
// reload its own change saves.
host.setTimeLimit(30000);
host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "300");
    host.log("A: causale 300 aperta, TXT_MESI = " + host.value("TXT_MESI"));
    host.setValue("TXT_MESI", "9");
    host.setValue("TXT_DESCRIZIONE", "Descrizione scritta da A");
    var start = Date.now();
    var mesi = "";
    while (Date.now() - start < 20000) {
        mesi = String(host.query("SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1")[0].CGP6_MESI);
        if (mesi === "7")
            break;
    }
    host.log("A: nel database ora CGP6_MESI = " + mesi + " (salvato da B)");
    host.answer(7);   // No: keep editing
    var refused = !host.press("Conferma");
    host.log("A: Conferma -> " + !refused + ", a video TXT_MESI = " + host.value("TXT_MESI"));
    host.answer(6);   // Sì: reload the causal
    host.log("A: Conferma di nuovo -> " + host.press("Conferma") + ", a video TXT_MESI = " + host.value("TXT_MESI")
             + ", TXT_DESCRIZIONE = " + host.value("TXT_DESCRIZIONE"));
    var r = host.query("SELECT CGP0_DESCRIZIONE, CGP6_MESI FROM CGP0_DUEBILCAUSALI JOIN CGP6_DUEBILPARAMDITTA ON CGP6_CAUSALE_CGP0 = CGP0_CAUSALE AND CGP6_DITTA_CG18 = 1 WHERE CGP0_CAUSALE = 300")[0];
    host.log("A: nel database CGP0_DESCRIZIONE = " + r.CGP0_DESCRIZIONE + ", CGP6_MESI = " + r.CGP6_MESI);
    host.setValue("TXT_MESI", "10");
    var saved = host.press("Conferma");
    var stored = String(host.query("SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1")[0].CGP6_MESI);
    host.log("A: dopo la ricarica TXT_MESI = 10, Conferma -> " + saved + ", nel database CGP6_MESI = " + stored);
    host.quit(refused && r.CGP6_MESI == 7 && saved && stored === "10" ? 0 : 1);
});
