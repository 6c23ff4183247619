#include "form/frmcg_duebilconfigfactory.h"
#include "framework/componentloader.h"
#include "shell/shelltexts.h"
#include "shell/shellwindow.h"
#include "store/checkfacts.h"
#include "support/windowfixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTableWidget>
#include <QSet>
#include <QTest>

namespace {

// The module's class and form created in-process, so the test reaches the form's controls.
class InProcessLoader : public ComponentLoader
{
public:
    InProcessLoader() : ComponentLoader({}) {}
    QObject *createInstance(const QString &progId, QString *) override
    {
        return progId == CLSCG_DUEBILCONFIG::progId()
            ? new CLSCG_DUEBILCONFIG(std::make_shared<FRMCG_DUEBILCONFIGFactory>())
            : nullptr;
    }
};

QString describe(const QWidget *w)
{
    QString name = w->objectName();
    for (const QWidget *p = w->parentWidget(); name.isEmpty() && p; p = p->parentWidget())
        name = QStringLiteral("child of ") + p->objectName();
    return QStringLiteral("%1 (%2)").arg(name, QString::fromLatin1(w->metaObject()->className()));
}

bool insideItemView(const QWidget *w, const QWidget *top)
{
    for (const QWidget *p = w->parentWidget(); p && p != top; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea *>(p))
            return true;
    }
    return false;
}

// The least size a layout may give the widget: its minimum size where one is set, else its
// minimum size hint, or its size hint where its size policy forbids shrinking.
QSize leastSize(const QWidget *w)
{
    const QSizePolicy policy = w->sizePolicy();
    QSize least = w->minimumSizeHint();
    if (!(policy.horizontalPolicy() & QSizePolicy::ShrinkFlag))
        least.setWidth(w->sizeHint().width());
    if (!(policy.verticalPolicy() & QSizePolicy::ShrinkFlag))
        least.setHeight(w->sizeHint().height());
    if (w->minimumWidth() > 0)
        least.setWidth(w->minimumWidth());
    if (w->minimumHeight() > 0)
        least.setHeight(w->minimumHeight());
    if (w->hasHeightForWidth())
        least.setHeight(w->heightForWidth(w->width()));
    return least;
}

// b does not come before a in reading order: not above it, nor beside it on the left, compared
// as the children of their nearest common ancestor that hold them.
bool readsAfter(const QWidget *a, const QWidget *b)
{
    const auto after = [](const QRect &ra, const QRect &rb) {
        return rb.bottom() >= ra.top() && (ra.bottom() < rb.top() || rb.left() > ra.left());
    };
    for (const QWidget *x = a; x; x = x->parentWidget()) {
        for (const QWidget *y = b; y; y = y->parentWidget()) {
            if (x->parentWidget() && x->parentWidget() == y->parentWidget())
                return after(x->geometry(), y->geometry());
        }
    }
    return after(a->geometry(), b->geometry());
}

} // namespace

// The configuration window opened in the host shell at the shell's screen sizes, checked by
// the widgets' geometry, size hints and font metrics.
class tst_FormGeometry : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyControlGetsItsSizeOnEveryTab_data();
    void everyControlGetsItsSizeOnEveryTab();
    void tabVisitsHeaderTabAndNavigatorInReadingOrder_data();
    void tabVisitsHeaderTabAndNavigatorInReadingOrder();
    void everyLabelOfATabHasALetterOfItsOwn_data();
    void everyLabelOfATabHasALetterOfItsOwn();
    void fieldsStayPutBetweenTypesAndCausals();
    void selectionTabShowsTheChecksAUserMayTick_data();
    void selectionTabShowsTheChecksAUserMayTick();

private:
    // Causal 300 of the given operation type with advances, withholding and currency on.
    void prepareCausal(int operationType);
    // showCausal: 300 typed once the window is open; called: the host opens the window on 300.
    FRMCG_DUEBILCONFIG *open(const QSize &shellSize, bool showCausal = true, bool called = false);
    QStringList geometryFaults(int tab) const;

    std::unique_ptr<InProcessLoader> m_loader;
    std::unique_ptr<ShellWindow> m_window;
};

void tst_FormGeometry::init()
{
    QVERIFY(setUpServices({ShellText::file()}));
    m_global->setUserName(QStringLiteral("MROSSI"));
    m_loader = std::make_unique<InProcessLoader>();
}

void tst_FormGeometry::cleanup()
{
    if (m_window) {
        for (Cinterface *contract : m_window->openWindows())
            contract->CloseForm();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_loader.reset();
    tearDownWindow();
}

void tst_FormGeometry::prepareCausal(int operationType)
{
    execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = %1, CGP5_INDRECUPERO = 0, "
                           "CGP5_INDIMPMASSIMO = 1, CGP5_INDIMPSCADENZA = 1 WHERE CGP5_CAUSALE_CGP0 = 300")
                .arg(operationType));
    execute(QStringLiteral("UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_INDACCONTI = 1, CGP6_INDPAGVALUTA = 1 "
                           "WHERE CGP6_CAUSALE_CGP0 = 300"));
    execute(QStringLiteral("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 "
                           "WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 IN (29, 30)"));
}

FRMCG_DUEBILCONFIG *tst_FormGeometry::open(const QSize &shellSize, bool showCausal, bool called)
{
    ShellOptions options;
    if (called)
        options.causal = 300;
    m_window = std::make_unique<ShellWindow>(m_global.get(), m_loader.get(), options);
    m_window->resize(shellSize);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()) || !m_window->loadCompanies()
        || !m_window->openConfiguration())
        return nullptr;
    m_form = m_window->findChild<FRMCG_DUEBILCONFIG *>();
    if (!m_form || !QTest::qWaitFor([this] { return m_form->isActivated(); }, 5000))
        return nullptr;
    if (showCausal && !called) {
        FormUi &ui = m_form->context().ui;
        ui.TXT_CAUSALE->lineEdit()->setText(QStringLiteral("300"));
        ui.TXT_CAUSALE->commit();
    }
    QTest::qWait(20);
    return m_form;
}

QStringList tst_FormGeometry::geometryFaults(int tab) const
{
    QStringList faults;
    FormUi &ui = m_form->context().ui;
    QMdiArea *area = m_window->mdiArea();
    QMdiSubWindow *sub = m_form->subWindow();
    if (!area->viewport()->rect().contains(sub->geometry()))
        faults << QStringLiteral("window outside the area");
    QScrollArea *scroll = ui.scrollArea();
    QWidget *content = scroll->widget();
    const QSize needed = content->minimumSizeHint();
    if (content->width() < needed.width() || content->height() < needed.height())
        faults << QStringLiteral("form squeezed below its least size");
    // What the viewport does not show, the scroll bars reach (once the posted layout work is done).
    const auto reachable = [&] {
        const QSize hidden = content->size() - scroll->viewport()->size();
        return scroll->horizontalScrollBar()->maximum() >= hidden.width()
            && scroll->verticalScrollBar()->maximum() >= hidden.height();
    };
    if (!QTest::qWaitFor(reachable, 2000))
        faults << QStringLiteral("part of the form cannot be scrolled to");

    for (QWidget *w : content->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->objectName().startsWith(QLatin1String("qt_")) || insideItemView(w, content))
            continue;
        const QString what = describe(w) + QStringLiteral(" on tab %1").arg(tab);
        if (!w->parentWidget()->rect().contains(w->geometry()))
            faults << what + QStringLiteral(": outside its parent");
        const QSize minimum = leastSize(w);
        if (w->width() < minimum.width() || w->height() < minimum.height())
            faults << what + QStringLiteral(": below its least size");
        // Texts, by the metrics of the font on screen.
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->wordWrap()) {
            const QString text = label->text().remove(QLatin1Char('&'));
            if (label->contentsRect().width() < label->fontMetrics().horizontalAdvance(text))
                faults << what + QStringLiteral(": caption cut");
        }
        if (auto *box = qobject_cast<QCheckBox *>(w); box && !box->text().isEmpty()) {
            if (box->width() < box->sizeHint().width())
                faults << what + QStringLiteral(": caption cut");
        }
        if (auto *frame = qobject_cast<QGroupBox *>(w); frame && !frame->title().isEmpty()) {
            if (frame->width() < frame->fontMetrics().horizontalAdvance(frame->title()))
                faults << what + QStringLiteral(": title cut");
        }
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            option.frame = combo->hasFrame();
            const int room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
            for (int i = 0; i < combo->count(); ++i) {
                if (combo->fontMetrics().horizontalAdvance(combo->itemText(i)) > room)
                    faults << what + QStringLiteral(": entry \"%1\" cut").arg(combo->itemText(i));
            }
        }
        if (auto *table = qobject_cast<QTableWidget *>(w)) {
            QHeaderView *header = table->horizontalHeader();
            for (int c = 0; c < table->columnCount(); ++c) {
                if (!table->isColumnHidden(c) && header->sectionSize(c) < header->sectionSizeHint(c))
                    faults << what + QStringLiteral(": header \"%1\" cut").arg(table->horizontalHeaderItem(c)->text());
            }
        }
    }
    return faults;
}

void tst_FormGeometry::everyControlGetsItsSizeOnEveryTab_data()
{
    QTest::addColumn<QSize>("shellSize");
    QTest::addColumn<int>("operationType");
    QTest::addColumn<bool>("called");
    for (const QSize size : {QSize(1024, 640), QSize(1400, 900)}) {
        // Operation type 0: the window as the host opens it, with no causal on screen.
        for (int type = 0; type <= 8; ++type)
            QTest::addRow("%dx%d, operation type %d", size.width(), size.height(), type) << size << type << false;
    }
    for (int type = 1; type <= 8; ++type)
        QTest::addRow("called on the causal, operation type %d", type) << QSize(1024, 640) << type << true;
}

void tst_FormGeometry::everyControlGetsItsSizeOnEveryTab()
{
    QFETCH(QSize, shellSize);
    QFETCH(int, operationType);
    QFETCH(bool, called);

    if (operationType > 0)
        prepareCausal(operationType);
    QVERIFY(open(shellSize, operationType > 0, called));
    FormUi &ui = m_form->context().ui;
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->Text(), operationType > 0 ? QString::number(operationType) : QString());
    // Every check that widens the form is ticked: advances, currency, withholding with its warnings.
    QCOMPARE(ui.CHK_FILTER[30]->Text(), operationType > 0 ? QStringLiteral("1") : QStringLiteral("0"));
    // The window opens at the form's size, not wider: a scroll bar is the most it adds.
    QMdiSubWindow *sub = m_form->subWindow();
    QVERIFY(sub->width() <= sub->sizeHint().width() + sub->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    QVERIFY(!(m_form->subWindow()->windowFlags() & Qt::WindowMaximizeButtonHint));

    // Opening another tab never makes the window jump.
    const QSize opened = sub->size();
    int tabsSeen = 0;
    for (int tab = 0; tab < ui.TAB_CONFIG->count(); ++tab) {
        if (!ui.TAB_CONFIG->TabEnabled(tab) && (operationType > 0 || tab > 0))
            continue;
        ui.TAB_CONFIG->setTab(tab);
        QTest::qWait(20);
        QCOMPARE(sub->size(), opened);
        ++tabsSeen;
        const QStringList faults = geometryFaults(tab);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // Even at the host's own 1024x640 the whole form is on view, the navigator with it.
        QTRY_COMPARE(ui.scrollArea()->verticalScrollBar()->maximum(), 0);
        QTRY_COMPARE(ui.scrollArea()->horizontalScrollBar()->maximum(), 0);
        const QRect navigator(ui.INTERNAV->mapTo(ui.scrollArea()->viewport(), QPoint()), ui.INTERNAV->size());
        QVERIFY(ui.INTERNAV->isVisible() && ui.scrollArea()->viewport()->rect().contains(navigator));
    }
    QVERIFY(tabsSeen > 0);
}

void tst_FormGeometry::tabVisitsHeaderTabAndNavigatorInReadingOrder_data()
{
    QTest::addColumn<int>("operationType");
    QTest::addColumn<int>("tab");
    for (int type : {1, 6}) {
        for (int tab = 0; tab < 5; ++tab)
            QTest::addRow("operation type %d, tab %d", type, tab) << type << tab;
    }
}

void tst_FormGeometry::tabVisitsHeaderTabAndNavigatorInReadingOrder()
{
    QFETCH(int, operationType);
    QFETCH(int, tab);

    prepareCausal(operationType);
    QVERIFY(open(QSize(1024, 640)));
    FormUi &ui = m_form->context().ui;
    if (!ui.TAB_CONFIG->TabEnabled(tab))
        QSKIP("tab disabled for this operation type");
    ui.TAB_CONFIG->setTab(tab);
    // Fields the rules leave disabled do not take the focus; enable them so every field counts.
    QWidget *page = ui.tabPages[tab];
    for (QWidget *w : page->findChildren<QWidget *>())
        w->setEnabled(true);
    QCoreApplication::processEvents();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    const auto stopsIn = [](QWidget *root) {
        QList<QWidget *> stops;
        for (QWidget *w : root->findChildren<QWidget *>()) {
            if (w->isVisible() && w->isEnabled() && !w->focusProxy() && (w->focusPolicy() & Qt::TabFocus))
                stops << w;
        }
        return stops;
    };
    const QList<QWidget *> headerStops = stopsIn(ui.FRA_CAUSALE);
    const QList<QWidget *> pageStops = stopsIn(page);
    const QList<QWidget *> navigatorStops = stopsIn(ui.INTERNAV);
    QVERIFY(!headerStops.isEmpty());
    QVERIFY(!pageStops.isEmpty());
    QVERIFY(!navigatorStops.isEmpty());

    headerStops.first()->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), headerStops.first());
    QList<QWidget *> visited;
    for (int i = 0; i < 200; ++i) {
        QWidget *current = QApplication::focusWidget();
        QVERIFY(current);
        visited << current;
        if (navigatorStops.contains(current))
            break;
        QTest::keyClick(current, Qt::Key_Tab);
    }

    // Header, tab strip, the page's controls, the navigator.
    const int h = int(headerStops.size());
    QVERIFY(visited.size() >= h + 2);
    QCOMPARE(visited.mid(0, h), headerStops);
    QCOMPARE(visited.at(h), static_cast<QWidget *>(ui.TAB_CONFIG->tabBar()));
    const QList<QWidget *> onPage = visited.mid(h + 1, visited.size() - h - 2);
    QCOMPARE(visited.last(), navigatorStops.first());
    for (QWidget *w : onPage)
        QVERIFY2(pageStops.contains(w), qPrintable(describe(w) + QStringLiteral(" is not on the tab")));
    for (QWidget *w : pageStops)
        QVERIFY2(onPage.count(w) == 1, qPrintable(describe(w) + QStringLiteral(" is not visited once")));
    for (int i = 1; i < onPage.size(); ++i)
        QVERIFY2(readsAfter(onPage.at(i - 1), onPage.at(i)),
                 qPrintable(describe(onPage.at(i)) + QStringLiteral(" comes before ") + describe(onPage.at(i - 1))));
    // From the navigator's last stop Tab goes round to the header.
    QWidget *last = navigatorStops.first();
    for (QWidget *w = last->nextInFocusChain(); w != navigatorStops.first(); w = w->nextInFocusChain()) {
        if (navigatorStops.contains(w))
            last = w;
    }
    last->setFocus(Qt::TabFocusReason);
    QTest::keyClick(last, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), headerStops.first());
}

void tst_FormGeometry::everyLabelOfATabHasALetterOfItsOwn_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("operationType");   // 0: no causal on display
    // The causal's code takes its letter only while no causal is on screen.
    QTest::newRow("header, no causal") << 0 << 0;
    QTest::newRow("general") << 0 << 1;
    // The rules give the registration tab's labels captions of the operation type.
    for (int type = 1; type <= 8; ++type)
        QTest::addRow("registration, operation type %d", type) << 1 << type;
    QTest::newRow("users") << 4 << 1;
}

// A label's letter is one of its caption's, marked, taken by no other Alt key (menus, tabs,
// header, buttons; twelve labels share the first tab), and Alt with it reaches the label's field.
void tst_FormGeometry::everyLabelOfATabHasALetterOfItsOwn()
{
    QFETCH(int, tab);
    QFETCH(int, operationType);
    if (operationType > 0)
        prepareCausal(operationType);
    QVERIFY(open(QSize(1024, 640), operationType > 0));
    FormUi &ui = m_form->context().ui;
    QString used;
    const auto mark = [&](const QString &caption) {
        const qsizetype at = caption.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        if (at >= 0)
            used += caption.at(at + 1).toLower();
    };
    for (QAction *action : m_window->menuBar()->actions())
        mark(action->text());
    for (int i = 0; i < ui.TAB_CONFIG->count(); ++i)
        mark(ui.TAB_CONFIG->tabBar()->tabText(i));
    for (QPushButton *button : ui.tabPages[tab]->findChildren<QPushButton *>())
        mark(button->text());
    QList<LabelControl *> labels = ui.FRA_CAUSALE->findChildren<LabelControl *>();
    labels += ui.tabPages[tab]->findChildren<LabelControl *>();
    int keyed = 0;
    for (LabelControl *label : std::as_const(labels)) {
        // A label the rules hide or leave without a caption offers nothing to reach.
        if (!label->buddy() || label->caption().trimmed().isEmpty() || !label->isVisibleTo(ui.TAB_CONFIG))
            continue;
        const QChar key = label->accessKey();
        QVERIFY2(key.isLetter(), qPrintable(label->objectName() + QStringLiteral(" has no letter")));
        QVERIFY2(!used.contains(key), qPrintable(label->objectName() + QStringLiteral(": ") + key + QStringLiteral(" taken")));
        used += key;
        ++keyed;
        QVERIFY(label->text().contains(QLatin1Char('&') + key, Qt::CaseInsensitive));
        QCOMPARE(label->caption(), QString(label->text()).remove(QLatin1Char('&')));
    }
    QVERIFY(keyed > 0);
    // Leaving a field may run its rules: the keys are pressed once every letter is judged.
    ui.TAB_CONFIG->setTab(tab);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    int reached = 0;
    for (LabelControl *label : std::as_const(labels)) {
        QWidget *field = label->buddy();
        const QChar key = label->accessKey();
        if (!field || !field->isEnabled() || !label->isVisibleTo(ui.TAB_CONFIG) || !key.isLetter())
            continue;
        ++reached;
        ui.TAB_CONFIG->tabBar()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1(), Qt::AltModifier);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus && (focus == field || field->isAncestorOf(focus)),
                 qPrintable(label->objectName() + QStringLiteral(" led to ") + (focus ? describe(focus) : QString())));
        QCOMPARE(ui.TAB_CONFIG->currentIndex(), tab);
    }
    // Some types lock the posting tab; the users' fields open only with a new row.
    if (operationType <= 1 && tab != 4)
        QVERIFY(reached > 0);
}
// The field column of the posting tab stands where it stood whatever the type; the
// description stays beside the code.
void tst_FormGeometry::fieldsStayPutBetweenTypesAndCausals()
{
    QVERIFY(open(QSize(1024, 640)));
    FormUi &ui = m_form->context().ui;
    const int gap = ui.TXT_DESCRIZIONE->x() - (ui.TXT_CAUSALE->x() + ui.TXT_CAUSALE->width());
    QVERIFY2(gap < 40, qPrintable(QString::number(gap)));
    ui.TAB_CONFIG->setTab(1);
    QList<int> columns;
    for (int type : {1, 2, 3, 4, 6, 8}) {
        ui.CBO_TIPOOPERAZIONE->setText(QString::number(type));
        QTest::qWait(20);
        for (QWidget *field : std::initializer_list<QWidget *>{ui.TXT_CAUSALECOGE, ui.TXT_CONTODARE, ui.CBO_DETTREG})
            columns << field->mapTo(m_form, QPoint()).x();
    }
    QCOMPARE(QSet<int>(columns.cbegin(), columns.cend()).size(), 1);
}

void tst_FormGeometry::selectionTabShowsTheChecksAUserMayTick_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("longAccountName");
    QTest::newRow("causal 300") << QStringLiteral("300") << false;
    QTest::newRow("causal 150, operation type 7") << QStringLiteral("150") << false;
    QTest::newRow("causal 300, its account named at length") << QStringLiteral("300") << true;
}

// The selection tab shows every check but the hidden ones, captioned, once a causal is shown, in
// frames that ask for no other room; showing a causal never resizes the window (nor does a tab
// then: everyControlGetsItsSizeOnEveryTab).
void tst_FormGeometry::selectionTabShowsTheChecksAUserMayTick()
{
    QFETCH(QString, code);
    QFETCH(bool, longAccountName);
    if (longAccountName)
        execute(QStringLiteral("UPDATE CG24_PIANOCONTI SET CG24_DESCR = '%1' WHERE CG24_CODICE = '180101'")
                    .arg(QStringLiteral("Banca Intesa conto corrente ordinario ").repeated(6)));
    // An area larger than the form: nothing bounds the window but its own size.
    QVERIFY(open(QSize(1400, 900), false));
    FormUi &ui = m_form->context().ui;
    QMdiSubWindow *sub = m_form->subWindow();
    const QSize opened = sub->size();
    QVERIFY(m_window->mdiArea()->viewport()->width() > opened.width());
    ui.TAB_CONFIG->setTab(2);
    QWidget *page = ui.tabPages[2];
    const auto frames = [page] {
        QMap<QString, QSize> least;
        for (QGroupBox *frame : page->findChildren<QGroupBox *>())
            least.insert(frame->objectName(), frame->minimumSizeHint());
        return least;
    };
    QTest::qWait(20);
    const QMap<QString, QSize> before = frames();
    QVERIFY(!before.isEmpty());
    for (int id = 1; id <= CheckFacts::Count; ++id)
        QVERIFY2(!ui.CHK_FILTER[id]->isVisibleTo(page), qPrintable(QStringLiteral("check %1").arg(id)));
    ui.TXT_CAUSALE->lineEdit()->setText(code);
    ui.TXT_CAUSALE->commit();
    // The causal is on display: its selection checks are up, its account's name is read whole.
    QTRY_VERIFY(ui.CHK_FILTER[3]->isVisibleTo(page));
    if (longAccountName)
        QVERIFY(ui.TXT_DESCCONTODARE->toolTip().startsWith(QStringLiteral("Banca Intesa conto corrente ordinario Banca")));
    QTest::qWait(50);
    for (int id = 1; id <= CheckFacts::Count; ++id) {
        CheckField *box = ui.CHK_FILTER[id];
        const QString what = QStringLiteral("check %1").arg(id);
        QVERIFY2(box->isVisibleTo(page) == !CheckFacts::isHidden(id), qPrintable(what));
        QVERIFY2(!box->isVisibleTo(page) || !box->caption().trimmed().isEmpty(), qPrintable(what));
    }
    QCOMPARE(frames(), before);
    QCOMPARE(sub->size(), opened);
}

QTEST_MAIN(tst_FormGeometry)
#include "tst_formgeometry.moc"
