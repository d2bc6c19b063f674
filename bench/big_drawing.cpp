#include "big_drawing.h"

#include "cad/dxf/dxf_file.h"

namespace navisaz::bench {

std::filesystem::path BigDrawingFile(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / "big.dxf";
    if (std::filesystem::exists(file))
        return file;
    sim::Drawing drawing;
    for (int i = 0; i < BigDrawingEntities; ++i) {
        const double x = (i % 1000) * 10.0;
        const double y = (i / 1000) * 10.0;
        switch (i % 10) {
            case 0:
            case 1:
            case 2:
            case 3: {
                sim::EntityRef t = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Text);
                t->text = u"قطعه شماره " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
                t->insertion = {x, y, 0};
                t->height = 2.5;
                break;
            }
            case 4:
            case 5:
            case 6: {
                sim::EntityRef p =
                    drawing.AddEntity(drawing.modelSpace, sim::EntityKind::LwPolyline);
                p->points = {{x, y, 0}, {x + 5, y, 0}, {x + 5, y + 5, 0}, {x, y + 5, 0}};
                p->closed = true;
                break;
            }
            default: {
                sim::EntityRef p = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Point);
                p->points = {{x, y, 1200.5}};
            }
        }
    }
    std::filesystem::create_directories(folder);
    dxf::SaveDxf(drawing, file);
    return file;
}

}  // namespace navisaz::bench
