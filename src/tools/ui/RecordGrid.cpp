#include "Icons.h"
#include "RecordGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "EditableGridModel.h"
#include "TTagging.h"
#include "TagAll.h"
#include "WindowMessages.h"

namespace {

// Cell editors that take no more characters than the field holds.
class FieldWidthDelegate : public QStyledItemDelegate {
  public:
    FieldWidthDelegate(const EditableGridModel* model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(model_->editWidth(index.column()));
        return editor;
    }

  private:
    const EditableGridModel* model_;
};

}  // namespace

RecordGrid::RecordGrid(EditableGridModel* model, QWidget* parent) : QWidget(parent), model_(model) {
    Grid = new QTableView;
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setModel(model_);
    Grid->setItemDelegate(new FieldWidthDelegate(model_, Grid));
    Grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    Grid->setWordWrap(false);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Rows of one height, so that many of them scroll without being measured.
    QHeaderView* rows = Grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(Grid->fontMetrics().height() + 6);
    const int charWidth = Grid->fontMetrics().averageCharWidth();
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int chars = std::min(std::max(model_->widthChars(c), 4), 30);
        const int title =
            Grid->fontMetrics().horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString());
        Grid->setColumnWidth(c, std::max(chars * charWidth, title) + 12);
    }

    auto navButton = [](const char* name, Icons::Icon icon, const QString& tip) {
        auto* b = new QPushButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(Icons::get(icon));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        b->setFixedWidth(36);
        return b;
    };
    FirstButton = navButton("FirstButton", Icons::Icon::FirstRecord, QStringLiteral("First record"));
    PriorButton = navButton("PriorButton", Icons::Icon::PreviousRecord, QStringLiteral("Prior record"));
    NextButton = navButton("NextButton", Icons::Icon::NextRecord, QStringLiteral("Next record"));
    LastButton = navButton("LastButton", Icons::Icon::LastRecord, QStringLiteral("Last record"));
    connect(FirstButton, &QPushButton::clicked, this, [this] { goRow(0); });
    connect(PriorButton, &QPushButton::clicked, this, [this] { goRow(Grid->currentIndex().row() - 1); });
    connect(NextButton, &QPushButton::clicked, this, [this] { goRow(Grid->currentIndex().row() + 1); });
    connect(LastButton, &QPushButton::clicked, this, [this] { goRow(model_->rowCount() - 1); });

    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex& previous) {
                rowChanged(current.row(), previous.row());
            });
    connect(Grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (model_->fieldName(index.column()) == QLatin1String("Tagged")) emit tagCellDoubleClicked();
    });

    auto* navigator = new QHBoxLayout;
    for (QPushButton* b : {FirstButton, PriorButton, NextButton, LastButton}) navigator->addWidget(b);
    navigator->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Grid, 1);
    layout->addLayout(navigator);
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

uint32_t RecordGrid::currentRecNo() const {
    const QModelIndex current = Grid->currentIndex();
    return current.isValid() ? model_->recNoAt(current.row()) : 0;
}

void RecordGrid::goRow(int row) {
    if (model_->rowCount() == 0) return;
    if (row < 0 || row >= model_->rowCount()) {
        WindowMessages().beep();
        return;
    }
    const int column = std::max(Grid->currentIndex().column(), 0);
    Grid->setCurrentIndex(model_->index(row, column));
    Grid->scrollTo(Grid->currentIndex());
}

void RecordGrid::selectRecord(uint32_t recNo) {
    const int found = recNo ? model_->rowOf(recNo) : -1;
    const int row = found >= 0 ? found : 0;
    const int column = std::max(Grid->currentIndex().column(), 0);
    moving_ = true;
    if (model_->rowCount() > 0) {
        Grid->setCurrentIndex(model_->index(row, column));
        Grid->scrollTo(Grid->currentIndex());
    }
    moving_ = false;
    model_->moveTo(currentRecNo());
    emit recordMoved();
}

void RecordGrid::reload() {
    const uint32_t recNo = currentRecNo();
    moving_ = true;
    model_->reload();
    moving_ = false;
    selectRecord(recNo);
}

bool RecordGrid::post() {
    if (!model_->editing()) return true;
    const uint32_t recNo = currentRecNo();
    QString error;
    moving_ = true;
    const bool ok = model_->post(&error);
    moving_ = false;
    if (!ok) {
        WindowMessages().error(error);
        return false;
    }
    selectRecord(recNo);
    return true;
}

void RecordGrid::editCurrentCell() {
    QModelIndex current = Grid->currentIndex();
    if (!current.isValid()) return;
    if (model_->editWidth(current.column()) == 0) {
        for (int c = 0; c < model_->columnCount(); ++c) {
            if (model_->editWidth(c) > 0) {
                current = model_->index(current.row(), c);
                break;
            }
        }
    }
    Grid->setCurrentIndex(current);
    Grid->edit(current);
}

void RecordGrid::rowChanged(int row, int) {
    if (moving_) return;
    const uint32_t target = row >= 0 ? model_->recNoAt(row) : 0;
    if (model_->editing() && model_->editedRecNo() != target) {
        const uint32_t edited = model_->editedRecNo();
        QString error;
        moving_ = true;
        const bool ok = model_->post(&error);
        moving_ = false;
        if (!ok) {
            WindowMessages().error(error);
            selectRecord(edited);
            return;
        }
        selectRecord(target);
        return;
    }
    model_->moveTo(target);
    emit recordMoved();
}

void RecordGrid::toggleCurrentTag(const QString& tagId) {
    if (currentRecNo() == 0) return;
    QString error;
    if (!model_->toggleTag(currentRecNo(), tagId, &error) && !error.isEmpty())
        WindowMessages().error(error);
}

void RecordGrid::tagAll(xbase::Table& table, const QString& tagId, const QString& question) {
    if (!WindowMessages().ask(question, TagAll::kQuestionCaption)) return;
    if (!post()) return;
    TTagging tagging(window());
    tagging.runLoop([&](const std::function<bool(uint32_t)>& progress) {
        return TagAll::TagAll(table, tagId, progress);
    });
    reload();
}
