#pragma once

// TFStandard: the catalogue of NCC map features. The grid lists the table "standard" narrowed by
// the menus and the search text, the two memos show the current feature's notes, and the buttons
// draw the current feature or restyle picked entities to it.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "catalogue/catalogue_choices.h"
#include "catalogue/feature_commands.h"
#include "catalogue/feature_store.h"

namespace Ui {
class TFStandard;
}

class QDataWidgetMapper;
class QSqlTableModel;

namespace navisaz {

class FeatureListModel;

class TFStandard : public QWidget {
    Q_OBJECT

  public:
    // Builds and shows the window inside the host's main window. Without a host that takes calls
    // the adapter has said why and nothing is built; when the catalogue cannot be opened its
    // message is shown and nothing is built either. The store is the working store beside
    // "CADSupport\standard_ZAMINI.mdb" in the current folder.
    static TFStandard* Open(Platform& platform, HostLocator& hosts, const QString& windowName,
                            QWidget* parent = nullptr);
    ~TFStandard() override;

    Ui::TFStandard& ui() const { return *ui_; }
    const CatalogueChoices& choices() const { return choices_; }
    FeatureCommands& commands() { return *commands_; }
    FeatureStore& store() { return *store_; }
    // The feature of the grid's current row.
    std::optional<FeatureRecord> CurrentFeature() const;
    // The filter text the list stands under, as the data-access filter would spell it.
    QString FilterDisplay() const;

    void N1501Click(const MenuChoice& choice);  // map scale
    void N12Click(const MenuChoice& choice);    // feature type
    void N16Click(const MenuChoice& choice);    // kind of object
    void Button2Click();                        // hatch (also "متن 1" and "متن 2")
    void Button1Click();                        // polyline
    void Button4Click();                        // block
    void Button7Click();                        // load the block library

    // Runs after each drawing command: lets the host go on with a command it was left in.
    std::function<void()> afterCommand;

  private:
    TFStandard(Platform& platform, std::unique_ptr<FeatureCommands> commands,
               std::unique_ptr<FeatureStore> store, const QString& windowName, QWidget* parent);
    void BuildMenus();
    void ApplyFilter();
    void ShowCurrentNotes();
    void RunOnCurrent(void (FeatureCommands::*command)(const FeatureRecord&, double, DrawMode));
    DrawMode Mode() const;

    std::unique_ptr<Ui::TFStandard> ui_;
    Platform& platform_;
    std::unique_ptr<FeatureCommands> commands_;
    std::unique_ptr<FeatureStore> store_;
    CatalogueChoices choices_;
    QSqlTableModel* table_ = nullptr;
    FeatureListModel* list_ = nullptr;
    QDataWidgetMapper* notes_ = nullptr;
};

}  // namespace navisaz
