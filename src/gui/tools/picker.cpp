#include "gui/tools/picker.h"

#include "gui/common/bytetext.h"
#include "gui/common/screenplace.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace tarnwick::gui {

namespace {

constexpr int kListWidth = 253;
constexpr int kListHeight = 381;

} // namespace

TPickForm::TPickForm(const PageContext& context, QWidget* parent)
    : QDialog(parent)
    , context_(context)
{
    setObjectName("TPickForm");
    setWindowTitle(QString::fromLatin1(core::kPickListCaption));
    setModal(true);
    // Takes the main window's font although it is a window of its own.
    setAttribute(Qt::WA_WindowPropagation);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    ListBox1 = new QListWidget(Panel1);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setFixedSize(kListWidth, kListHeight);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setUniformItemSizes(true);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(ListBox1);

    OKBtn = new QPushButton(tr("OK"), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    BitBtn1 = new QPushButton(tr("Cancel"), this);
    BitBtn1->setObjectName("BitBtn1");

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(BitBtn1);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    FitWhenShown(this);

    connect(OKBtn, &QPushButton::clicked, this, &TPickForm::OKBtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TPickForm::ListBox1DblClick);
    // With no entry selected (a Ctrl+click can clear it) there is nothing to confirm.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this,
        [this] { OKBtn->setEnabled(!ListBox1->selectedItems().isEmpty()); });
}

int TPickForm::ShowPickList(core::PickMode mode)
{
    pickMode_ = static_cast<std::uint8_t>(mode);
    pickResult_ = -1;
    FillPickList();
    ListBox1->setFocus();
    const bool cancelled = exec() != QDialog::Accepted;
    pickResult_ = core::PickResult(content_, selectedIndex(), cancelled);
    return pickResult_;
}

void TPickForm::FillPickList()
{
    static const core::TOobData kNoRecords;
    static const core::NameTables kNoNames;
    const core::TOobData& oob = context_.oob != nullptr ? *context_.oob : kNoRecords;
    const core::NameTables& names = context_.settings != nullptr ? context_.settings->names : kNoNames;
    const std::uint8_t formType = context_.state != nullptr ? context_.state->currentFormType : 0;
    content_ = core::FillPickList(static_cast<core::PickMode>(pickMode_), oob, names, formType);

    QStringList rows;
    rows.reserve(static_cast<qsizetype>(content_.entries.size()));
    for (const std::string& entry : content_.entries)
        rows << FromBytes(entry);

    ListBox1->setUpdatesEnabled(false);
    ListBox1->clear();
    setWindowTitle(FromBytes(content_.title));
    ListBox1->addItems(rows);
    ListBox1->setCurrentRow(0);
    ListBox1->scrollToTop();
    ListBox1->setUpdatesEnabled(true);
    OKBtn->setEnabled(!ListBox1->selectedItems().isEmpty());
}

int TPickForm::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void TPickForm::OKBtnClick()
{
    if (selectedIndex() >= 0)
        accept();
}

void TPickForm::ListBox1DblClick()
{
    OKBtnClick();
}

} // namespace tarnwick::gui
