#include "GroupPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace groups {

QStringList DelayItems()
{
    QStringList items{QStringLiteral("OFF")};
    for (int tenths = 1; tenths <= 99; ++tenths)
        items << QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
    items << QStringLiteral("HOLD");
    return items;
}

QStringList FreeItems()
{
    QStringList items{QStringLiteral("OFF")};
    for (int n = 1; n <= 60; ++n)
        items << QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    return items;
}

namespace {

QLabel* BuddyLabel(const QString& text, const QString& name, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QComboBox* ListBox(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(0);
    box->setMaxVisibleItems(20);
    return box;
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setProperty("Tag", 0);
    return b;
}

} // namespace

GroupPage::GroupPage(GroupKind kind, QWidget* page, CommandEngine& engine,
                     TSearchGrpElement (&data)[kGroupCount], std::int32_t& linkChangeIgnore,
                     const TabHooks& hooks, QObject* parent)
    : QObject(parent), ops_(kind, engine, data), linkChangeIgnore_(linkChangeIgnore)
{
    BuildControls(page);
    ConnectControls();
    RegisterButtons(hooks);

    ops_.SelectedGroup = [this] { return SelectedGroup(); };
    ops_.Display = [this](int gn) { TableDisplay(gn); };
    engine.SetAnswerParser(ops_.ReadFamily(), [this](const QString& s) { return ops_.ReadRes_1Line(s); });
    engine.SetAnswerParser(ops_.WriteFamily(), [this](const QString& s) { return ops_.WriteRes_1Line(s); });
}

QString GroupPage::Prefix() const
{
    return ops_.Kind() == GroupKind::Scan ? QStringLiteral("ScanGrp") : QStringLiteral("SearchGrp");
}

void GroupPage::BuildControls(QWidget* page)
{
    const QString p = Prefix();
    const bool search = ops_.Kind() == GroupKind::Search;

    QStringList groupItems;
    for (int g = 0; g < kGroupCount; ++g)
        groupItems << QString::number(g);
    NoComboBox = ListBox(p + "NoComboBox", groupItems, page);
    DelayComboBox = ListBox(p + "DelayComboBox", DelayItems(), page);
    FreeComboBox = ListBox(p + "FreeComboBox", FreeItems(), page);

    auto* linkGrid = new QGridLayout;
    linkGrid->setHorizontalSpacing(10);
    for (int b = 0; b < kLinkBankCount; ++b) {
        const QString num = QStringLiteral("%1").arg(b, 2, 10, QLatin1Char('0'));
        auto* box = new QCheckBox(num, page);
        box->setObjectName(p + "Link" + num + "CheckBox");
        LinkCheckBoxes[b] = box;
        linkGrid->addWidget(box, b / 10, b % 10);  // four rows of ten
    }

    ReadButton = Button(QStringLiteral("1 Grp Read"), p + "ReadButton", page);
    AllReadButton = Button(QStringLiteral("All Grp Read"), p + "AllReadButton", page);
    WriteButton = Button(QStringLiteral("1 Grp Write"), p + "WriteButton", page);
    AllWriteButton = Button(QStringLiteral("All Grp Write"), p + "AllWriteButton", page);
    AbortButton = Button(QStringLiteral("Abort"), p + "AbortButton", page);
    AbortButton->setEnabled(false);
    LinkClearButton = Button(QStringLiteral("Link All OFF"), p + "LinkClearButton", page);

    auto* top = new QHBoxLayout;
    top->addWidget(BuddyLabel(search ? QStringLiteral("Search Group :") : QStringLiteral("Scan Group :"),
                              p + "NoLabel", NoComboBox, page));
    top->addWidget(NoComboBox);
    top->addStretch();

    auto* linkRow = new QHBoxLayout;
    auto* linkLabel = BuddyLabel(QStringLiteral("Bank Link :"), p + "LinkLabel", LinkCheckBoxes[0], page);
    linkRow->addWidget(linkLabel, 0, Qt::AlignTop);
    linkRow->addLayout(linkGrid);
    linkRow->addStretch();

    auto* settings = new QHBoxLayout;
    settings->addWidget(BuddyLabel(QStringLiteral("Delay :"), p + "DelayLabel", DelayComboBox, page));
    settings->addWidget(DelayComboBox);
    settings->addSpacing(24);
    settings->addWidget(BuddyLabel(QStringLiteral("Free :"), p + "FreeLabel", FreeComboBox, page));
    settings->addWidget(FreeComboBox);
    if (search) {
        StoreCheckBox = new QCheckBox(QStringLiteral("Store"), page);
        StoreCheckBox->setObjectName(p + "StoreCheckBox");
        settings->addSpacing(24);
        settings->addWidget(StoreCheckBox);
    }
    settings->addSpacing(24);
    settings->addWidget(LinkClearButton);
    settings->addStretch();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ReadButton, AllReadButton, WriteButton, AllWriteButton}) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    buttons->addSpacing(24);
    AbortButton->setMinimumWidth(90);
    buttons->addWidget(AbortButton);
    buttons->addStretch();

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(16);
    column->addLayout(top);
    column->addLayout(linkRow);
    column->addLayout(settings);
    column->addStretch();
    column->addLayout(buttons);
}

void GroupPage::ConnectControls()
{
    // Filling the page raises these signals too; the handlers skip them by LinkChangeIgnore.
    connect(NoComboBox, &QComboBox::currentIndexChanged, this, [this] { NoComboBoxChange(); });
    for (QCheckBox* box : LinkCheckBoxes)
        connect(box, &QCheckBox::toggled, this, [this] { Link00CheckBoxClick(); });
    connect(DelayComboBox, &QComboBox::currentIndexChanged, this, [this] { DelayComboBoxChange(); });
    connect(FreeComboBox, &QComboBox::currentIndexChanged, this, [this] { FreeComboBoxChange(); });
    if (StoreCheckBox)
        connect(StoreCheckBox, &QCheckBox::toggled, this, [this] { StoreCheckBoxClick(); });
    connect(LinkClearButton, &QPushButton::clicked, this, [this] { LinkClearButtonClick(); });
    connect(ReadButton, &QPushButton::clicked, this, [this] { ReadButtonClick(); });
    connect(AllReadButton, &QPushButton::clicked, this, [this] { AllReadButtonClick(); });
    connect(WriteButton, &QPushButton::clicked, this, [this] { WriteButtonClick(); });
    connect(AllWriteButton, &QPushButton::clicked, this, [this] { AllWriteButtonClick(); });
}

void GroupPage::RegisterButtons(const TabHooks& hooks)
{
    if (hooks.registerButton) {
        hooks.registerButton(ops_.ButtonOf(GroupOp::ReadOne), ReadButton);
        hooks.registerButton(ops_.ButtonOf(GroupOp::ReadAll), AllReadButton);
        hooks.registerButton(ops_.ButtonOf(GroupOp::WriteOne), WriteButton);
        hooks.registerButton(ops_.ButtonOf(GroupOp::WriteAll), AllWriteButton);
    }
    if (hooks.registerAbort)
        hooks.registerAbort(ops_.Tab(), AbortButton);
}

int GroupPage::SelectedGroup() const { return NoComboBox->currentIndex(); }

void GroupPage::TableDisplay(int gn)
{
    if (gn < 0 || gn >= kGroupCount)
        return;
    const TSearchGrpElement g = ops_.Group(gn);
    linkChangeIgnore_ = 1;
    for (int b = 0; b < kLinkBankCount; ++b)
        LinkCheckBoxes[b]->setChecked(LinkBit(g, b));
    DelayComboBox->setCurrentIndex(g.Delay);
    FreeComboBox->setCurrentIndex(g.Free);
    if (StoreCheckBox)
        StoreCheckBox->setChecked(g.GrpFlag_AutoStore == 1);
    linkChangeIgnore_ = 0;
}

void GroupPage::NoComboBoxChange() { TableDisplay(SelectedGroup()); }

void GroupPage::Link00CheckBoxClick()
{
    if (linkChangeIgnore_ == 1)
        return;
    std::array<bool, kLinkBankCount> linked{};
    for (int b = 0; b < kLinkBankCount; ++b)
        linked[b] = LinkCheckBoxes[b]->isChecked();
    ops_.StoreLinks(SelectedGroup(), linked);
}

void GroupPage::DelayComboBoxChange()
{
    if (linkChangeIgnore_ != 1)
        ops_.StoreDelay(SelectedGroup(), DelayComboBox->currentIndex());
}

void GroupPage::FreeComboBoxChange()
{
    if (linkChangeIgnore_ != 1)
        ops_.StoreFree(SelectedGroup(), FreeComboBox->currentIndex());
}

void GroupPage::StoreCheckBoxClick()
{
    if (StoreCheckBox && linkChangeIgnore_ != 1)
        ops_.StoreAutoStore(SelectedGroup(), StoreCheckBox->isChecked());
}

void GroupPage::LinkClearButtonClick()
{
    ops_.ClearAllLinks(SelectedGroup());
    TableDisplay(SelectedGroup());
}

} // namespace groups
