// The grids and the two exclusion fields as the layout and exclusions cases print them; coppie
// the exclusion rows by their ids alone, last the latest message.
function layout() { return host.rows('QGRID_LAYOUT').map(function (r) { return r.CGP3_VISIBLEORDER + ':' + r.CGP1_ID; }).join(' '); }
function esclusi() { return host.rows('QGRID_GRUPPIUTENTI').map(function (r) {
    return r.CGP8_ID_FW06 + '/' + r.CGP8_ID_FW07 + ' ' + r.FW06_CODICE + r.FW07_USERNAME; }).join(', '); }
function campi() { return host.value('TXT_GRUPPO') + '|' + host.value('TXT_UTENTE') + ' '
    + host.isEnabled('TXT_GRUPPO') + ' ' + host.isEnabled('TXT_UTENTE'); }
function coppie() { return host.rows('QGRID_GRUPPIUTENTI').map(function (r) { return r.CGP8_ID_FW06 + '/' + r.CGP8_ID_FW07; }).join(', '); }
function last() { var m = host.messages(); return m.length ? m[m.length - 1] : '-'; }
