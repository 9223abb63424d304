// Builds the controls of the options window: the page buttons, the six
// pages and the sound sub-pages, with their captions and design defaults.
#include "options/frmOption.h"

#include "board/degit/M_Degit.h"
#include "core/ControlNames.h"
#include "options/OptionWidgets.h"
#include "platform/Fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <functional>

namespace {

// The sound sub-page the window opens on: "送り・戻し時のサウンド".
constexpr int kFirstSoundPage = 1;

template <class T> T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QLabel* note(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, QColor(128, 0, 0));
    l->setPalette(pal);
    return l;
}

QPushButton* dotsButton(const QString& name, QWidget* parent) {
    auto* b = named(new QPushButton(QStringLiteral("..."), parent), name);
    b->setFixedWidth(32);
    return b;
}

QComboBox* numberList(const QString& name, QWidget* parent) {
    auto* c = named(new QComboBox(parent), name);
    c->setMaxVisibleItems(15);
    return c;
}

// A caption with a list sitting in one of its runs of blanks.
QCheckBox* sentenceBox(const QString& name, const QString& caption, QWidget* parent) {
    return named(new QCheckBox(caption, parent), name);
}

QGroupBox* pageFrame(const QString& name, const QString& caption, QWidget* parent) {
    auto* f = named(new QGroupBox(caption, parent), name);
    return f;
}

} // namespace

void frmOption::buildWindow() {
    setFont(platform::faceFont(platform::kFacePGothic, 9));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    // Disabled captions in dark grey: the desktop's light grey would vanish
    // on the grey window.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    setPalette(pal);
    setAutoFillBackground(true);

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(8);

    // Page buttons down the left, "OK" under them.
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    const std::array<QString, 6> captions = {QStringLiteral("運賃データと　放送用データ"),
                                             QStringLiteral("パネルと整理券番号表示"),
                                             QStringLiteral("デジタル部品と情報用数字"),
                                             QStringLiteral("停名の設定"),
                                             QStringLiteral("サウンド"),
                                             QStringLiteral("　　整理券　　　プレビュー")};
    auto* pageGroup = new QButtonGroup(this);
    for (int k = 0; k < 6; ++k) {
        auto* b = named(new PageButton(captions[size_t(k)], this), core::indexedName("Option1", k));
        b->setCheckable(true);
        pageGroup->addButton(b, k);
        buttons->addWidget(b);
        Option1[size_t(k)] = b;
    }
    buttons->addStretch(1);
    Command4 = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("Command4"));
    Command4->setMinimumHeight(32);
    buttons->addWidget(Command4);
    root->addLayout(buttons);

    // Pages are made inside the stack so that they measure their captions
    // in the window's font.
    pages_ = named(new QStackedWidget(this), QStringLiteral("pages"));
    Frame1[0] = pageFrame(core::indexedName("Frame1", 0), QStringLiteral("運賃データと放送用データ"), pages_);
    Frame1[1] = pageFrame(core::indexedName("Frame1", 1), QStringLiteral("パネルと整理券番号表示"), pages_);
    Frame1[2] = pageFrame(core::indexedName("Frame1", 2), QStringLiteral("デジタル部品と情報用数字"), pages_);
    Frame1[3] = pageFrame(core::indexedName("Frame1", 3), QStringLiteral("停名の設定"), pages_);
    Frame1[4] = pageFrame(core::indexedName("Frame1", 4),
                          QStringLiteral("サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）"), pages_);
    Frame1[5] = pageFrame(core::indexedName("Frame1", 5), QStringLiteral("整理券プレビュー"), pages_);
    // The pages join the stack while they are empty. A stack shows the page
    // it makes current, and a page that is shown lays out what it holds,
    // measuring every caption, even inside this hidden window; filled later,
    // a page is laid out only when the window is first shown.
    for (QGroupBox* f : Frame1)
        pages_->addWidget(f);
    buildFolderPage();
    buildPanelPage();
    buildDegitPage();
    buildChimeiPage();
    buildSoundPage();
    buildPreviewPage();
    groupOptionButtons();
    pages_->setMinimumWidth(640);
    root->addWidget(pages_, 1);

    // The stop-name page is not part of this model.
    Option1[3]->setEnabled(false);
    Option1[0]->setChecked(true);
    pages_->setCurrentWidget(Frame1[0]);

    connect(pageGroup, &QButtonGroup::idClicked, this, &frmOption::Option1_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOption::Command4_Click);
}

void frmOption::groupOptionButtons() {
    // Each group is explicit: automatic exclusivity would also tie together
    // the buttons of a frame and those of the frames nested in it.
    auto group = [this](std::initializer_list<QAbstractButton*> buttons, QAbstractButton* selected) {
        auto* g = new QButtonGroup(this);
        for (QAbstractButton* b : buttons)
            g->addButton(b);
        selected->setChecked(true);
    };
    group({Option3[0], Option3[1]}, Option3[0]);
    group({Option3[7], Option3[6]}, Option3[7]);
    group({Option3[3], Option3[2]}, Option3[3]);
    group({Option3[4], Option3[5]}, Option3[4]);
    group({Option2[0], Option2[1]}, Option2[0]);
    group({Option6[0], Option6[1]}, Option6[1]);
    group({Option2[2], Option2[3]}, Option2[2]);
    group({Option7[0], Option7[1]}, Option7[0]);
    group({Option4[0], Option4[1], Option4[2]}, Option4[0]);
}

QWidget* frmOption::buildFolderPage() {
    QGroupBox* page = Frame1[0];
    auto* v = new QVBoxLayout(page);
    v->setSpacing(6);
    const std::array<QString, 2> labels = {QStringLiteral("運賃データ(*.hy3)のあるフォルダー："),
                                           QStringLiteral("放送用データ(*****Tp.csv)のあるフォルダー：")};
    const std::array<QString, 2> openCaptions = {QStringLiteral("上記運賃データの場所をエクスプローラで開く"),
                                                 QStringLiteral("上記放送用データの場所をエクスプローラで開く")};
    for (int k = 0; k < 2; ++k) {
        v->addWidget(new QLabel(labels[size_t(k)], page));
        auto* row = new QHBoxLayout;
        Text2[size_t(k)] = named(new QLineEdit(page), core::indexedName("Text2", k));
        Command3[size_t(k)] = dotsButton(core::indexedName("Command3", k), page);
        row->addWidget(Text2[size_t(k)], 1);
        row->addWidget(Command3[size_t(k)]);
        v->addLayout(row);
        auto* openRow = new QHBoxLayout;
        Command10[size_t(k)] = named(new QPushButton(openCaptions[size_t(k)], page), core::indexedName("Command10", k));
        openRow->addStretch(1);
        openRow->addWidget(Command10[size_t(k)]);
        v->addLayout(openRow);
        v->addSpacing(10);
        connect(Command3[size_t(k)], &QPushButton::clicked, this, [this, k] { Command3_Click(k); });
        connect(Command10[size_t(k)], &QPushButton::clicked, this, [this, k] { Command10_Click(k); });
    }
    v->addStretch(1);
    return page;
}

QWidget* frmOption::buildPanelPage() {
    QGroupBox* page = Frame1[1];
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);

    Check1 = named(new QCheckBox(QStringLiteral("整理券番号自動表示機能を使用"), page), QStringLiteral("Check1"));
    v->addWidget(Check1);
    v->addWidget(note(
        QStringLiteral("※ユーザーパネルに直接番号をデザインしている場合には上記チェックをOFFにしてください。"), page));

    Frame3 = named(new QGroupBox(page), QStringLiteral("Frame3"));
    auto* g = new QGridLayout(Frame3);
    g->addWidget(new QLabel(QStringLiteral("整理券番号表示設定"), Frame3), 0, 0);
    Combo2 = named(new QComboBox(Frame3), QStringLiteral("Combo2"));
    g->addWidget(Combo2, 0, 1, 1, 3);
    Check2 = named(new QCheckBox(QStringLiteral("数字が1桁の番号は頭に0を付け足す"), Frame3), QStringLiteral("Check2"));
    g->addWidget(Check2, 1, 0, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("整理券番号のバックライトカラー(文字色)"), Frame3), 2, 0, 1, 4);
    auto* colours = new QHBoxLayout;
    const std::array<QString, 3> states = {QStringLiteral("OFF："), QStringLiteral("ON1："), QStringLiteral("ON2：")};
    for (int k = 0; k < 3; ++k) {
        colours->addWidget(new QLabel(states[size_t(k)], Frame3));
        Command5[size_t(k)] = named(new ColorButton(Frame3), core::indexedName("Command5", k));
        colours->addWidget(Command5[size_t(k)]);
        colours->addSpacing(12);
        connect(Command5[size_t(k)], &QPushButton::clicked, this, [this, k] { Command5_Click(k); });
    }
    colours->addStretch(1);
    g->addLayout(colours, 3, 0, 1, 4);
    g->setColumnStretch(3, 1);
    v->addWidget(Frame3);

    Frame4 = named(new QGroupBox(QStringLiteral("本体パネル"), page), QStringLiteral("Frame4"));
    auto* fv = new QVBoxLayout(Frame4);
    fv->setSpacing(3);
    auto* choice = new QHBoxLayout;
    Option3[0] = named(new QRadioButton(QStringLiteral("内蔵しているパネルを自動で割り当てる"), Frame4),
                       core::indexedName("Option3", 0));
    Option3[1] = named(new QRadioButton(QStringLiteral("個別に設定する"), Frame4), core::indexedName("Option3", 1));
    choice->addWidget(Option3[0]);
    choice->addSpacing(16);
    choice->addWidget(Option3[1]);
    choice->addStretch(1);
    fv->addLayout(choice);
    // Per state: the frame caption and the indices of its "内蔵" and
    // "ユーザーパネル" buttons.
    struct StateFrame {
        const char* caption;
        int builtIn;
        int user;
    };
    const std::array<StateFrame, 3> frames = {StateFrame{"バックライトOFF時の画像：", 7, 6},
                                              StateFrame{"ON1の画像：", 3, 2}, StateFrame{"ON2の画像：", 4, 5}};
    for (int k = 0; k < 3; ++k) {
        const StateFrame& s = frames[size_t(k)];
        auto* f = named(new QGroupBox(QString::fromUtf8(s.caption), Frame4), core::indexedName("Frame6", k));
        auto* h = new QHBoxLayout(f);
        h->setContentsMargins(6, 2, 6, 2);
        Option3[size_t(s.builtIn)] =
            named(new QRadioButton(QStringLiteral("内蔵"), f), core::indexedName("Option3", s.builtIn));
        Option3[size_t(s.user)] =
            named(new QRadioButton(QStringLiteral("ユーザーパネル"), f), core::indexedName("Option3", s.user));
        txtSelectPanel[size_t(k)] = named(new QLineEdit(f), core::indexedName("txtSelectPanel", k));
        Command6[size_t(k)] = dotsButton(core::indexedName("Command6", k), f);
        h->addWidget(Option3[size_t(s.builtIn)]);
        h->addWidget(Option3[size_t(s.user)]);
        h->addWidget(txtSelectPanel[size_t(k)], 1);
        h->addWidget(Command6[size_t(k)]);
        fv->addWidget(f);
        Frame6[size_t(k)] = f;
        connect(Command6[size_t(k)], &QPushButton::clicked, this, [this, k] { Command6_Click(k); });
    }
    fv->addWidget(note(
        QStringLiteral(
            "※ユーザーパネルには、現在の機種に対応の画像をご使用ください。大きいパネルの場合、はみ出た部分（右・下）が"
            "切り取られます。逆に小さいパネルの場合は左上から表示され、余白部分はグレーになりますのでご注意ください。"),
        Frame4));
    v->addWidget(Frame4);
    v->addStretch(1);

    connect(Check1, &QCheckBox::stateChanged, this, &frmOption::syncEnabledStates);
    for (QRadioButton* o : Option3)
        connect(o, &QRadioButton::toggled, this, &frmOption::syncEnabledStates);
    return page;
}

QWidget* frmOption::buildDegitPage() {
    QGroupBox* page = Frame1[2];
    auto* v = new QVBoxLayout(page);

    Frame5[0] = named(
        new QGroupBox(QStringLiteral("デジタル部品の背景色と文字色（時計つきの場合はこの部分も同色となります）"), page),
        core::indexedName("Frame5", 0));
    auto* top = new QHBoxLayout(Frame5[0]);
    auto* colours = new QGridLayout;
    const std::array<QString, 3> labels = {QStringLiteral("背景色："), QStringLiteral("未発光時の文字色："),
                                           QStringLiteral("発光時の文字色：")};
    for (int k = 0; k < 3; ++k) {
        colours->addWidget(new QLabel(labels[size_t(k)], Frame5[0]), k, 0, Qt::AlignRight);
        Command8[size_t(k)] = named(new ColorButton(Frame5[0]), core::indexedName("Command8", k));
        colours->addWidget(Command8[size_t(k)], k, 1);
        connect(Command8[size_t(k)], &QPushButton::clicked, this, [this, k] { Command8_Click(k); });
    }
    Command8[0]->setBackColor(0x00808080);
    Command8[1]->setBackColor(0x00969696);
    Command8[2]->setBackColor(0x0072D2F8);
    top->addLayout(colours);
    top->addSpacing(30);
    auto* sample = new QVBoxLayout;
    sample->addWidget(new QLabel(QStringLiteral("プレビュー"), Frame5[0]));
    M_Degit1 = named(new M_Degit(Frame5[0]), QStringLiteral("M_Degit1"));
    M_Degit1->setUserSet(false);
    M_Degit1->setValue(QStringLiteral("123"));
    sample->addWidget(M_Degit1);
    sample->addStretch(1);
    top->addLayout(sample);
    top->addStretch(1);
    v->addWidget(Frame5[0]);

    Frame5[1] = named(new QGroupBox(QStringLiteral("情報用数字の設定"), page), core::indexedName("Frame5", 1));
    auto* iv = new QVBoxLayout(Frame5[1]);
    iv->setSpacing(6);
    for (int k = 0; k < 5; ++k)
        Combo4[size_t(k)] = numberList(core::indexedName("Combo4", k), Frame5[1]);

    auto sentence = [this](int box, const QString& caption, std::initializer_list<int> lists) {
        QCheckBox* c = sentenceBox(core::indexedName("Check3", box), caption, Frame5[1]);
        int gap = 0;
        for (int list : lists)
            optionwidgets::placeInGap(c, caption, optionwidgets::captionLeft(c), gap++, Combo4[size_t(list)]);
        Check3[size_t(box)] = c;
        return c;
    };
    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(
        sentence(0, QStringLiteral("停留所の順番（区間・個数）を、　　　　　　  コマ目に表示する。"), {0}));
    Check3[4] = named(new QCheckBox(QStringLiteral("0から数える"), Frame5[1]), core::indexedName("Check3", 4));
    stopRow->addSpacing(12);
    stopRow->addWidget(Check3[4]);
    stopRow->addStretch(1);
    iv->addLayout(stopRow);
    iv->addWidget(sentence(1, QStringLiteral("整理券番号を、  　　　　　　コマ目に表示する。"), {1}));
    iv->addWidget(sentence(2, QStringLiteral("系統番号を、  　　　　　　コマ目に表示する。"), {2}));
    iv->addWidget(
        sentence(3, QStringLiteral("データの　　　  　　　　　列目の値を、  　　　　　　コマ目に表示する。"), {4, 3}));
    v->addWidget(Frame5[1]);
    v->addWidget(note(QStringLiteral("デジタル数字の桁ずらし、ゼロ埋めの設定は各部品をダブルクリックして設定してくださ"
                                     "い。また、これら情報用数字は運賃の表示よりも優先されます。"),
                      page));
    v->addStretch(1);

    for (QCheckBox* c : Check3)
        connect(c, &QCheckBox::stateChanged, this, &frmOption::syncEnabledStates);
    return page;
}

QWidget* frmOption::buildChimeiPage() {
    QGroupBox* page = Frame1[3];
    auto* g = new QGridLayout(page);
    g->addWidget(new QLabel(QStringLiteral("背景色："), page), 0, 0, Qt::AlignRight);
    g->addWidget(new QLabel(QStringLiteral("文字色："), page), 1, 0, Qt::AlignRight);
    for (int k = 0; k < 2; ++k) {
        Command9[size_t(k)] = named(new ColorButton(page), core::indexedName("Command9", k));
        g->addWidget(Command9[size_t(k)], k, 1, Qt::AlignLeft);
        connect(Command9[size_t(k)], &QPushButton::clicked, this, [this, k] { Command9_Click(k); });
    }
    Command9[0]->setBackColor(0x00808080);
    Command9[1]->setBackColor(0x0000FFFF);
    g->addWidget(new QLabel(QStringLiteral("フォントオプション："), page), 2, 0, Qt::AlignRight);
    Combo3 = named(new QComboBox(page), QStringLiteral("Combo3"));
    Combo3->addItems(
        {QStringLiteral("ゴシック体"), QStringLiteral("明朝体"), QStringLiteral("漢字はゴシック、それ以外は明朝"),
         QStringLiteral("漢字は明朝、それ以外はゴシック"), QStringLiteral("英数字はゴシック、それ以外は明朝")});
    Combo3->setCurrentIndex(-1);
    g->addWidget(Combo3, 2, 1, Qt::AlignLeft);
    Check4 =
        named(new QCheckBox(QStringLiteral("太字（表示の不具合はサポート対象外）"), page), QStringLiteral("Check4"));
    g->addWidget(Check4, 3, 1);
    g->setColumnStretch(2, 1);
    g->setRowStretch(4, 1);
    return page;
}

QWidget* frmOption::soundRow(int slot, const QString& label) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    if (!label.isEmpty()) {
        auto* l = new QLabel(label, row);
        l->setMinimumWidth(150);
        h->addWidget(l);
    }
    txtSelectSound[size_t(slot)] = named(new QLineEdit(row), core::indexedName("txtSelectSound", slot));
    cmdSelectSound[size_t(slot)] = dotsButton(core::indexedName("cmdSelectSound", slot), row);
    h->addWidget(txtSelectSound[size_t(slot)], 1);
    h->addWidget(cmdSelectSound[size_t(slot)]);
    connect(cmdSelectSound[size_t(slot)], &QPushButton::clicked, this, [this, slot] { cmdSelectSound_Click(slot); });
    return row;
}

// The two sound sub-pages share one shape: "always" with its sound, "by the
// data" with a sound for each of the values 1 to 3, and how to play.
struct frmOption::SoundSubPage {
    int frame; // Frame2(frame)
    QString title;
    int always;            // Option2(always) and Option2(always + 1)
    int alwaysSlot;        // txtSelectSound(alwaysSlot)
    QString byData;        // the caption of Option2(always + 1)
    int firstCaseSlot;     // the sounds for 1, 2, 3
    const char* modeFrame; // objectName of the frame "再生方法"
    std::array<QRadioButton*, 2>* mode;
    const char* modeName; // the control array of the two modes
    QString syncResult;   // what waits for the sound, or not
    // Rows between the "by the data" choice and its three sounds.
    std::function<void(QGroupBox*, QVBoxLayout*)> beforeCases;
    // Rows after the playback mode.
    std::function<void(QGroupBox*, QVBoxLayout*)> afterMode;
};

QGroupBox* frmOption::buildSoundSubPage(const SoundSubPage& page) {
    QGroupBox* f = named(new QGroupBox(page.title, soundPages_), core::indexedName("Frame2", page.frame));
    // Into the stack, and made current if it is the page shown first, while
    // still empty (see buildWindow).
    soundPages_->addWidget(f);
    if (page.frame == kFirstSoundPage)
        soundPages_->setCurrentWidget(f);
    auto* v = new QVBoxLayout(f);
    v->setSpacing(4);
    auto* always = new QHBoxLayout;
    Option2[size_t(page.always)] = named(new QRadioButton(QStringLiteral("常に右記のサウンドを鳴らす"), f),
                                         core::indexedName("Option2", page.always));
    always->addWidget(Option2[size_t(page.always)]);
    always->addWidget(soundRow(page.alwaysSlot, QString()), 1);
    v->addLayout(always);
    Option2[size_t(page.always + 1)] =
        named(new WrappingRadioButton(page.byData, f), core::indexedName("Option2", page.always + 1));
    v->addWidget(Option2[size_t(page.always + 1)]);
    if (page.beforeCases)
        page.beforeCases(f, v);
    const std::array<QString, 3> cases = {QStringLiteral("「1」の場合"), QStringLiteral("「2」の場合"),
                                          QStringLiteral("「3」の場合")};
    for (int k = 0; k < 3; ++k) {
        auto* h = new QHBoxLayout;
        h->addSpacing(24);
        h->addWidget(soundRow(page.firstCaseSlot + k, cases[size_t(k)]), 1);
        v->addLayout(h);
    }
    auto* mode = named(new QGroupBox(QStringLiteral("再生方法"), f), QLatin1String(page.modeFrame));
    auto* mv = new QVBoxLayout(mode);
    (*page.mode)[0] =
        named(new QRadioButton(QStringLiteral("同期再生(サウンドが完全に再生された後で%1)").arg(page.syncResult), mode),
              core::indexedName(page.modeName, 0));
    (*page.mode)[1] =
        named(new QRadioButton(QStringLiteral("非同期再生(サウンドを再生しながら%1)").arg(page.syncResult), mode),
              core::indexedName(page.modeName, 1));
    mv->addWidget((*page.mode)[0]);
    mv->addWidget((*page.mode)[1]);
    v->addWidget(mode);
    if (page.afterMode)
        page.afterMode(f, v);
    v->addStretch(1);
    return f;
}

QWidget* frmOption::buildStepSoundPage() {
    SoundSubPage page{.frame = 1,
                      .title = QStringLiteral("送り・戻し時のサウンド"),
                      .always = 0,
                      .alwaysSlot = 7,
                      .byData = QStringLiteral("運賃データ(*.hy3)"
                                               "の特定の列のデータから判断して、以下の指定したサウンドを鳴らす（指定し"
                                               "た列のデータの内容が1～3以外の場合はサウンドは鳴りません）"),
                      .firstCaseSlot = 8,
                      .modeFrame = "fraStepPlayMode",
                      .mode = &Option6,
                      .modeName = "Option6",
                      .syncResult = QStringLiteral("運賃切り替え"),
                      .beforeCases = {},
                      .afterMode = {}};
    // Which column of the fare data decides the sound.
    page.beforeCases = [this](QGroupBox* f, QVBoxLayout* v) {
        const QString colCaption = QStringLiteral("運賃データの　　　　　　　列目のデータが、");
        auto* colLabel = named(new QLabel(colCaption, f), QStringLiteral("lblStepCol"));
        Combo1 = numberList(QStringLiteral("Combo1"), f);
        optionwidgets::placeInGap(colLabel, colCaption, 0, 0, Combo1);
        auto* colRow = new QHBoxLayout;
        colRow->addSpacing(24);
        colRow->addWidget(colLabel);
        colRow->addStretch(1);
        v->addLayout(colRow);
    };
    return buildSoundSubPage(page);
}

QWidget* frmOption::buildTapeSoundPage() {
    SoundSubPage page{
        .frame = 0,
        .title = QStringLiteral("放送前のサウンド：※音声合成放送機能が有効でない場合は以下の設定は意味を持ちません。"),
        .always = 2,
        .alwaysSlot = 3,
        .byData = QStringLiteral("放送データ(*.Tp.csv)"
                                 "内のフラグから判断して、以下の指定したサウンドを鳴らす（"
                                 "フラグの内容が1～3以外の場合はサウンドは鳴りません）"),
        .firstCaseSlot = 4,
        .modeFrame = "fraTapePlayMode",
        .mode = &Option7,
        .modeName = "Option7",
        .syncResult = QStringLiteral("放送開始"),
        .beforeCases = {},
        .afterMode = {}};
    // Waiting for this sound holds the stop-name scroll: said here, beside
    // the setting that causes it.
    page.afterMode = [this](QGroupBox* f, QVBoxLayout* v) {
        v->addWidget(
            named(note(QStringLiteral("「放送前のサウンド」再生時は、停名のスクロールが停止することがありますので"
                                      "、あらかじめご了承ください。"),
                       f),
                  QStringLiteral("lblTapeScrollNote")));
    };
    return buildSoundSubPage(page);
}

QWidget* frmOption::buildSoundPage() {
    QGroupBox* page = Frame1[4];
    auto* v = new QVBoxLayout(page);
    v->setSpacing(4);
    v->addWidget(soundRow(0, QStringLiteral("系統設定時のサウンド：")));
    v->addWidget(soundRow(1, QStringLiteral("リセット時のサウンド：")));

    auto* tabs = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    Option5[0] = named(new QPushButton(QStringLiteral("放送前のサウンド..."), page), core::indexedName("Option5", 0));
    Option5[1] =
        named(new QPushButton(QStringLiteral("送り・戻し時のサウンド..."), page), core::indexedName("Option5", 1));
    for (int k = 0; k < 2; ++k) {
        Option5[size_t(k)]->setCheckable(true);
        group->addButton(Option5[size_t(k)], k);
        tabs->addWidget(Option5[size_t(k)]);
    }
    tabs->addStretch(1);
    v->addSpacing(6);
    v->addLayout(tabs);

    soundPages_ = named(new QStackedWidget(page), QStringLiteral("soundPages"));
    Frame2[0] = static_cast<QGroupBox*>(buildTapeSoundPage());
    Frame2[1] = static_cast<QGroupBox*>(buildStepSoundPage());
    Option5[kFirstSoundPage]->setChecked(true);
    v->addWidget(soundPages_, 1);
    connect(group, &QButtonGroup::idClicked, this, &frmOption::Option5_Click);
    return page;
}

QWidget* frmOption::buildPreviewPage() {
    QGroupBox* page = Frame1[5];
    auto* v = new QVBoxLayout(page);
    chkUseSeiriPrev =
        named(new QCheckBox(QStringLiteral("整理券プレビュー機能を使用する"), page), QStringLiteral("chkUseSeiriPrev"));
    v->addWidget(chkUseSeiriPrev);

    Frame10 = named(new QGroupBox(QStringLiteral("整理券プラグイン設定"), page), QStringLiteral("Frame10"));
    auto* pv = new QVBoxLayout(Frame10);
    pv->setSpacing(3);
    pv->addWidget(new QLabel(
        QStringLiteral("整理券プラグイン（整理券プレビューを使用しない場合は、何も入れないでください）："), Frame10));
    auto* pathRow = new QHBoxLayout;
    txtSeiriPlgDir = named(new QLineEdit(Frame10), QStringLiteral("txtSeiriPlgDir"));
    Command1 = dotsButton(QStringLiteral("Command1"), Frame10);
    Command11 = named(new CrossButton(Frame10), QStringLiteral("Command11"));
    pathRow->addWidget(txtSeiriPlgDir, 1);
    pathRow->addWidget(Command1);
    pathRow->addWidget(Command11);
    pv->addLayout(pathRow);
    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("上記プラグインのプロパティ："), Frame10), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("上記プラグインの特記事項："), Frame10), 0, 1);
    List1 = named(new QListWidget(Frame10), QStringLiteral("List1"));
    txtPlginComment = named(new QPlainTextEdit(Frame10), QStringLiteral("txtPlginComment"));
    txtPlginComment->setReadOnly(true);
    QPalette grey = txtPlginComment->palette();
    grey.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    txtPlginComment->setPalette(grey);
    List1->setMinimumHeight(110);
    txtPlginComment->setMinimumHeight(110);
    lists->addWidget(List1, 1, 0);
    lists->addWidget(txtPlginComment, 1, 1);
    pv->addLayout(lists);
    v->addWidget(Frame10);

    Frame7 = named(
        new QGroupBox(QStringLiteral("日付の設定（整理券プラグインが日付の印字をサポートしているときに有効）"), page),
        QStringLiteral("Frame7"));
    auto* dg = new QGridLayout(Frame7);
    dg->setVerticalSpacing(3);
    Option4[0] = named(
        new QRadioButton(QStringLiteral("システムの日付を使用（整理券印字と同時に日付を更新、デフォルト）"), Frame7),
        core::indexedName("Option4", 0));
    Option4[1] = named(new QRadioButton(QStringLiteral("システムの日付を使用（系統設定した時点の日付を保持）"), Frame7),
                       core::indexedName("Option4", 1));
    Option4[2] = named(new QRadioButton(QStringLiteral("右記の日付に固定"), Frame7), core::indexedName("Option4", 2));
    dg->addWidget(Option4[0], 0, 0, 1, 4);
    dg->addWidget(Option4[1], 1, 0, 1, 4);
    auto* remark = note(
        QStringLiteral(
            "系統設定した際の日付が保持され、日付が途中で変わっても次回系統設定するまで整理券の日付変更を行いません。"),
        Frame7);
    remark->setContentsMargins(24, 0, 0, 0);
    dg->addWidget(remark, 2, 0, 1, 4);
    dg->addWidget(Option4[2], 3, 0);
    Label10 = named(new QLabel(Frame7), QStringLiteral("Label10"));
    Label10->setFrameShape(QFrame::Panel);
    Label10->setFrameShadow(QFrame::Sunken);
    Label10->setMinimumWidth(90);
    Label10->setAlignment(Qt::AlignCenter);
    dg->addWidget(Label10, 3, 1);
    Command7 = named(new QPushButton(QStringLiteral("日付選択..."), Frame7), QStringLiteral("Command7"));
    dg->addWidget(Command7, 3, 2);
    dg->setColumnStretch(3, 1);
    v->addWidget(Frame7);
    v->addStretch(1);

    connect(chkUseSeiriPrev, &QCheckBox::stateChanged, this, &frmOption::syncEnabledStates);
    connect(Command1, &QPushButton::clicked, this, &frmOption::Command1_Click);
    connect(Command11, &QPushButton::clicked, this, &frmOption::Command11_Click);
    connect(Command7, &QPushButton::clicked, this, &frmOption::Command7_Click);
    return page;
}
