// The first window's helpers: waitFor polls the database until another process has done its
// part; ready tells the test that this window now shows what the other user will change.
host.setTimeLimit(40000);
function ready() { host.log('pronto'); }
function waitFor(sql) { var t = Date.now();
    while (Date.now() - t < 30000) { if (host.query(sql).length > 0) return true; }
    host.log('attesa scaduta: ' + sql); return false; }
function gone(code) { return waitFor('SELECT 1 AS X WHERE NOT EXISTS (SELECT 1 FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = ' + code + ')'); }
function there(code) { return waitFor('SELECT 1 AS X FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = ' + code); }
function last() { var m = host.messages(); return m.length ? m[m.length - 1].replace(/\n/g, ' ') : '-'; }
function shown() { return host.value('TXT_CAUSALE') + ' codice ' + host.isEnabled('TXT_CAUSALE')
    + ' mesi ' + host.isEnabled('TXT_MESI') + ' utenti ' + host.setTab(4) + ' ' + host.setTab(0); }
