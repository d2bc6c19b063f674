// Builds our sample catalogue from its text source: the SQLite working store with the table
// "standard", one DXF block drawing per symbol in the block folder, and the block library drawing
// that defines the symbols as blocks.
//
//   navisaz-make-catalogue SOURCE.json TARGET_FOLDER

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cad/dxf/dxf_file.h"
#include "catalogue/feature_store.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The symbol's shapes (circles, lines, polylines) in drawing units around the origin.
std::vector<sim::EntityRef> Symbol(sim::Drawing& drawing, const json& shapes) {
    std::vector<sim::EntityRef> entities;
    for (const json& shape : shapes) {
        auto e = std::make_shared<sim::EntityData>();
        e->handle = drawing.NewHandle();
        e->layer = u"0";
        e->color = sim::ColorByBlock;
        if (shape.contains("circle")) {
            const auto c = shape["circle"].get<std::vector<double>>();
            e->kind = sim::EntityKind::Circle;
            e->points = {{c.at(0), c.at(1), 0}};
            e->radius = c.at(2);
        } else if (shape.contains("line")) {
            const auto l = shape["line"].get<std::vector<double>>();
            e->kind = sim::EntityKind::Line;
            e->points = {{l.at(0), l.at(1), 0}, {l.at(2), l.at(3), 0}};
        } else if (shape.contains("poly")) {
            e->kind = sim::EntityKind::LwPolyline;
            for (const auto& p : shape["poly"])
                e->points.push_back({p.at(0), p.at(1), 0});
            e->closed = shape.value("closed", false);
        } else {
            throw std::runtime_error("unknown shape " + shape.dump());
        }
        entities.push_back(std::move(e));
    }
    return entities;
}

void WriteBlocks(const json& source, const fs::path& target) {
    fs::create_directories(target / "Blocks");
    for (const auto& [name, shapes] : source.at("blocks").items()) {
        sim::Drawing drawing;
        drawing.modelSpace = Symbol(drawing, shapes);
        dxf::SaveDxf(drawing, target / "Blocks" / (name + ".dxf"));
        fs::remove(target / "Blocks" / (name + ".dxf.bak"));
    }
    // The library: every symbol of its list as a block, and one insert of each in a row.
    sim::Drawing library;
    double x = 0;
    for (const json& item : source.at("library")) {
        const std::string name = item.get<std::string>();
        const std::u16string blockName = QString::fromStdString(name).toStdU16String();
        library.blocks.push_back(
            {.name = blockName, .entities = Symbol(library, source.at("blocks").at(name))});
        sim::EntityRef insert = library.AddEntity(library.modelSpace, sim::EntityKind::Insert);
        insert->blockName = blockName;
        insert->insertion = {x, 0, 0};
        x += 3;
    }
    dxf::SaveDxf(library, target / "BRMT2000-3.dxf");
    fs::remove(target / "BRMT2000-3.dxf.bak");
}

void WriteStore(const json& source, const fs::path& target) {
    const fs::path file = target / "standard_ZAMINI.sqlite";
    const fs::path partial = target / "standard_ZAMINI.sqlite.partial";
    fs::remove(partial);
    {
        FeatureStore::Create(partial);
        FeatureStore store(partial);
        FeatureStore::Transaction transaction(store);
        for (const json& feature : source.at("features")) {
            QVariantHash values;
            for (const auto& [column, value] : feature.items())
                values.insert(QString::fromStdString(column),
                              QString::fromStdString(value.get<std::string>()));
            store.Insert(values);
        }
        transaction.Commit();
    }
    fs::rename(partial, file);
}

}  // namespace
}  // namespace navisaz

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: navisaz-make-catalogue SOURCE.json TARGET_FOLDER\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error(std::string("cannot read ") + argv[1]);
        const nlohmann::json source = nlohmann::json::parse(in);
        navisaz::WriteBlocks(source, argv[2]);
        navisaz::WriteStore(source, argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "navisaz-make-catalogue: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
