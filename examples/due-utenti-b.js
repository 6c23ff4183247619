// Two users on one causal, second window (see due-utenti-a.js): reads causal 300, changes the
// months to 7 and saves.
host.onOpen(function () {
    host.setValue("TXT_CAUSALE", "300");
    host.log("B: causale 300 aperta, TXT_MESI = " + host.value("TXT_MESI"));
    host.setValue("TXT_MESI", "7");
    host.log("B: Conferma -> " + host.press("Conferma"));
    host.quit(0);
});
