#include "catalogue/qt/UStandard.h"

#include <QDataWidgetMapper>
#include <QInputDialog>
#include <QMenu>
#include <QProgressDialog>
#include <QSortFilterProxyModel>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <unordered_set>

#include "catalogue/catalogue_source.h"
#include "commands/command_context.h"
#include "ui_UStandard.h"

namespace navisaz {

// The table's rows that the current filter lists; the IDs come from the store's own query.
class FeatureListModel : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void Show(const std::vector<std::int64_t>& ids, int idColumn) {
        ids_ = std::unordered_set<std::int64_t>(ids.begin(), ids.end());
        idColumn_ = idColumn;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QModelIndex id = sourceModel()->index(row, idColumn_, parent);
        return ids_.contains(sourceModel()->data(id).toLongLong());
    }

  private:
    std::unordered_set<std::int64_t> ids_;
    int idColumn_ = 0;
};

namespace {

constexpr int GridColumnWidth = 102;

// Shows a long job's progress in a modal dialog; the job cannot be cancelled halfway, since
// nothing it does may be left half-done.
class ProgressWindow {
  public:
    ProgressWindow(QWidget* parent, const QString& label)
        : dialog_(label, QString(), 0, 0, parent) {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(300);
        dialog_.setCancelButton(nullptr);
    }
    void operator()(std::size_t done, std::size_t total) {
        dialog_.setMaximum(static_cast<int>(total));
        dialog_.setValue(static_cast<int>(done));
    }

  private:
    QProgressDialog dialog_;
};

}  // namespace

TFStandard* TFStandard::Open(Platform& platform, HostLocator& hosts, const QString& windowName,
                             QWidget* parent) {
    auto commands = std::make_unique<FeatureCommands>(platform, hosts, windowName.toStdU16String());
    if (!commands->Connected())
        return nullptr;
    std::unique_ptr<FeatureStore> store;
    try {
        ProgressWindow progress(parent, QStringLiteral("Importing the feature catalogue…"));
        store = OpenCatalogue(CatalogueAccessFile(), std::ref(progress));
    } catch (const std::exception& error) {
        platform.ShowError(QString::fromUtf8(error.what()).toStdU16String());
        return nullptr;
    }
    auto* window =
        new TFStandard(platform, std::move(commands), std::move(store), windowName, parent);
    window->commands().ShowInHost();
    return window;
}

TFStandard::TFStandard(Platform& platform, std::unique_ptr<FeatureCommands> commands,
                       std::unique_ptr<FeatureStore> store, const QString& windowName,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool),
      ui_(std::make_unique<Ui::TFStandard>()),
      platform_(platform),
      commands_(std::move(commands)),
      store_(std::move(store)) {
    ui_->setupUi(this);
    setObjectName(windowName);

    table_ = new QSqlTableModel(this, QSqlDatabase::database(store_->connectionName()));
    table_->setTable("standard");
    table_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    table_->select();
    while (table_->canFetchMore())
        table_->fetchMore();
    list_ = new FeatureListModel(this);
    list_->setSourceModel(table_);
    ui_->DBGrid1->setModel(list_);
    const QSqlRecord columns = table_->record();
    for (int c = 0; c < columns.count(); ++c)
        ui_->DBGrid1->setColumnHidden(c, true);
    const int name = columns.indexOf("Farsi_Name");
    const int kind = columns.indexOf("Object_Type");
    table_->setHeaderData(name, Qt::Horizontal, QStringLiteral("نام عارضه"));
    table_->setHeaderData(kind, Qt::Horizontal, QStringLiteral("نوع"));
    for (int c : {name, kind}) {
        ui_->DBGrid1->setColumnHidden(c, false);
        ui_->DBGrid1->setColumnWidth(c, GridColumnWidth);
    }
    ui_->DBGrid1->horizontalHeader()->moveSection(
        ui_->DBGrid1->horizontalHeader()->visualIndex(name), 0);
    ui_->DBGrid1->horizontalHeader()->moveSection(
        ui_->DBGrid1->horizontalHeader()->visualIndex(kind), 1);

    notes_ = new QDataWidgetMapper(this);
    notes_->setModel(list_);
    notes_->addMapping(ui_->DBMemo2, columns.indexOf("Definition"), "plainText");
    notes_->addMapping(ui_->DBMemo1, columns.indexOf("Recognition"), "plainText");
    connect(ui_->DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ShowCurrentNotes(); });

    BuildMenus();
    connect(ui_->ES, &QLineEdit::textChanged, this, [this](const QString& text) {
        choices_.SetSearch(text.toStdU16String());
        ApplyFilter();
    });
    connect(ui_->Button3, &QPushButton::clicked, ui_->ES, &QLineEdit::clear);
    connect(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(ui_->Button5, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(ui_->Button6, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(ui_->Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(ui_->Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    ApplyFilter();
}

TFStandard::~TFStandard() {
    // The models use the store's connection: they go before the store closes it.
    delete notes_;
    ui_->DBGrid1->setModel(nullptr);
    delete list_;
    delete table_;
}

void TFStandard::BuildMenus() {
    const auto menu = [this](QToolButton* button, const auto& choices, auto handler) {
        auto* items = new QMenu(button);
        items->setLayoutDirection(Qt::LeftToRight);
        for (const MenuChoice& choice : choices) {
            if (std::u16string_view(choice.caption) == u"-") {
                items->addSeparator();
                continue;
            }
            QAction* action = items->addAction(QString::fromStdU16String(choice.caption));
            connect(action, &QAction::triggered, this,
                    [this, handler, choice] { (this->*handler)(choice); });
        }
        button->setMenu(items);
    };
    menu(ui_->BtS, MapScaleChoices, &TFStandard::N1501Click);
    menu(ui_->BtT, FeatureTypeChoices, &TFStandard::N12Click);
    menu(ui_->bto, FeatureKindChoices, &TFStandard::N16Click);
}

void TFStandard::N1501Click(const MenuChoice& choice) {
    if (choice.tag > 0) {
        choices_.ChooseScale(choice.caption, choice.tag);
    } else {
        // The custom scale: any positive whole denominator.
        bool ok = false;
        const int denominator = QInputDialog::getInt(
            this, QString::fromStdU16String(choice.caption),
            QString::fromStdU16String(CustomScalePrompt), choices_.scale, 1, 100000000, 1, &ok);
        if (!ok)
            return;
        choices_.ChooseScale(u"1:" + QString::number(denominator).toStdU16String(), denominator);
    }
    ui_->BtS->setText(QString::fromStdU16String(choices_.scaleCaption));
}

void TFStandard::N12Click(const MenuChoice& choice) {
    choices_.ChooseType(choice);
    ui_->BtT->setText(QString::fromStdU16String(choices_.typeCaption));
    ApplyFilter();
}

void TFStandard::N16Click(const MenuChoice& choice) {
    choices_.ChooseKind(choice);
    ui_->bto->setText(QString::fromStdU16String(choices_.kindCaption));
    ApplyFilter();
}

QString TFStandard::FilterDisplay() const {
    return QString::fromStdU16String(FilterText(choices_.Filter()));
}

void TFStandard::ApplyFilter() {
    RunGuarded(platform_, [this] {
        list_->Show(store_->FilteredIds(choices_.Filter()), table_->record().indexOf("ID"));
    });
    ui_->DBGrid1->setToolTip(FilterDisplay());
    if (list_->rowCount() > 0 && !ui_->DBGrid1->currentIndex().isValid()) {
        ui_->DBGrid1->setCurrentIndex(list_->index(0, table_->record().indexOf("Farsi_Name")));
    }
    ShowCurrentNotes();
}

void TFStandard::ShowCurrentNotes() {
    const QModelIndex current = ui_->DBGrid1->currentIndex();
    if (current.isValid()) {
        notes_->setCurrentIndex(current.row());
    } else {
        ui_->DBMemo1->clear();
        ui_->DBMemo2->clear();
    }
}

std::optional<FeatureRecord> TFStandard::CurrentFeature() const {
    const QModelIndex current = ui_->DBGrid1->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const QModelIndex id = list_->index(current.row(), table_->record().indexOf("ID"));
    return store_->Feature(list_->data(id).toLongLong());
}

DrawMode TFStandard::Mode() const {
    return ui_->RGtMatch->isChecked() ? DrawMode::MatchExisting : DrawMode::New;
}

void TFStandard::RunOnCurrent(void (FeatureCommands::*command)(const FeatureRecord&, double,
                                                               DrawMode)) {
    RunGuarded(platform_, [&] {
        const std::optional<FeatureRecord> feature = CurrentFeature();
        if (!feature)
            throw CatalogueError("no feature is chosen in the list");
        ((*commands_).*command)(*feature, choices_.ScaleFactor(), Mode());
    });
    if (afterCommand)
        afterCommand();
}

void TFStandard::Button2Click() {
    RunOnCurrent(&FeatureCommands::Hatch);
}
void TFStandard::Button1Click() {
    RunOnCurrent(&FeatureCommands::Polyline);
}
void TFStandard::Button4Click() {
    RunOnCurrent(&FeatureCommands::Block);
}

void TFStandard::Button7Click() {
    RunGuarded(platform_, [this] {
        ProgressWindow progress(this, QStringLiteral("Loading the block library…"));
        commands_->LoadBlockLibrary(*store_, choices_.ScaleFactor(), std::ref(progress));
    });
    // IsExist changed in the store; the list shows every feature with a block from now on.
    table_->select();
    while (table_->canFetchMore())
        table_->fetchMore();
    choices_.libraryFilter = true;
    ApplyFilter();
    if (list_->rowCount() > 0)
        ui_->DBGrid1->setCurrentIndex(list_->index(0, table_->record().indexOf("Farsi_Name")));
}

}  // namespace navisaz
