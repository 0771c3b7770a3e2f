#include <afx/GdiObjects.h>
#include <afx/Resources.h>

#include <map>
#include <memory>

#include <QImageReader>

namespace {

afx::ResourceTable& Table() {
    static afx::ResourceTable table{};
    return table;
}

template <class Resource>
const Resource* FindById(std::span<const Resource> resources, UINT id) {
    for (const Resource& r : resources)
        if (r.id == id) return &r;
    return nullptr;
}

// Reads every image of an icon file and keeps the 32 x 32 and the 16 x 16 one, scaling the
// nearest when the file lacks a size.
std::unique_ptr<afx::IconImage> ReadIcon(UINT id, const char* path) {
    QImageReader reader(QString::fromUtf8(path));
    std::vector<QImage> images;
    do {
        QImage image = reader.read();
        if (!image.isNull()) images.push_back(image.convertToFormat(QImage::Format_ARGB32));
    } while (reader.jumpToNextImage());
    if (images.empty()) return nullptr;

    auto pick = [&](int size) {
        const QImage* best = &images.front();
        for (const QImage& image : images) {
            if (image.width() == size && image.height() == size) return image;
            if (std::abs(image.width() - size) < std::abs(best->width() - size)) best = &image;
        }
        return best->scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    auto icon = std::make_unique<afx::IconImage>();
    icon->id = id;
    icon->large = pick(32);
    icon->small = pick(16);
    return icon;
}

}  // namespace

void AfxSetResourceTable(const afx::ResourceTable& table) { Table() = table; }

const afx::ResourceTable& AfxGetResourceTable() { return Table(); }

namespace afx {

const DialogTemplate* FindDialogTemplate(UINT id) { return FindById(Table().dialogs, id); }
const BitmapResource* FindBitmapResource(UINT id) { return FindById(Table().bitmaps, id); }
const IconResource* FindIconResource(UINT id) { return FindById(Table().icons, id); }

const char* FindStringResource(UINT id) {
    const StringResource* s = FindById(Table().strings, id);
    return s ? s->text : nullptr;
}

HICON LoadIconResource(UINT id) {
    static std::map<UINT, std::unique_ptr<IconImage>> loaded;
    if (auto it = loaded.find(id); it != loaded.end()) return it->second.get();
    const IconResource* resource = FindIconResource(id);
    if (!resource) return nullptr;
    auto icon = ReadIcon(id, resource->path);
    if (!icon) return nullptr;
    return loaded.emplace(id, std::move(icon)).first->second.get();
}

}  // namespace afx
