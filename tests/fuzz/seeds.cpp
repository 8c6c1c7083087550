// fuzz_seeds --list: the loaders' names, one a line.
// fuzz_seeds DIR: writes well-formed seeds for every loader of the fuzz table into DIR/<loader>/
// (what the library itself saves), from which the committed corpus under tests/fuzz/corpus
// was grown. Run it again when a loader is added; scripts/fuzz.sh does.
#include "tests/fuzz/loaders.h"

#include "controls/core/classtable.h"
#include "controls/frames/pageform.h"
#include "platform/com/font.h"
#include "platform/com/memstream.h"
#include "platform/com/picture.h"
#include "platform/com/streamio.h"
#include "platform/com/variant.h"

#include <QApplication>
#include <QImage>
#include <QBuffer>
#include <filesystem>
#include <fstream>
#include <iostream>

using namespace vyr;
using namespace vyr::com;
namespace fs = std::filesystem;

namespace {

fs::path outDir;

void write(const std::string& loader, const std::string& name, const std::vector<uint8_t>& bytes)
{
    fs::create_directories(outDir / loader);
    std::ofstream(outDir / loader / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

template <class Save>
std::vector<uint8_t> saved(Save save)
{
    auto s = MemoryStream::create();
    if (FAILED(save(s.get())))
        throw std::runtime_error("a seed failed to save");
    return s->bytes();
}

ComPtr<IPersistStreamInit> createControl(const controls::ClassRow& row)
{
    ComPtr<IPersistStreamInit> c;
    if (FAILED(row.create(IID_IPersistStreamInit, c.putVoid())))
        throw std::runtime_error(std::string("cannot create ") + row.className);
    return c;
}

// One hosted control of each built class, saved as a page form.
class SeedPage final : public frames::HostedControls {
public:
    explicit SeedPage(const controls::ClassRow& row) : row_(row), control_(createControl(row)) {}
    size_t count() const override { return 1; }
    frames::ControlRecord record(size_t) const override { return {row_.clsid, {10, 10, 90, 40}}; }
    HRESULT save(size_t, IStream* s) override { return control_->Save(s, FALSE); }
    HRESULT create(const frames::ControlRecord&, IStream*, uint32_t) override { return E_NOTIMPL; }

private:
    const controls::ClassRow& row_;
    ComPtr<IPersistStreamInit> control_;
};

std::vector<uint8_t> imageFile(const char* format)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void writeSeeds()
{
    std::vector<uint8_t> all;
    int n = 0;
    for (Variant v : {Variant::fromLong(42), Variant::fromBool(true), Variant::fromDouble(2.5),
                      Variant::fromString("ab"), Variant()}) {
        auto bytes = saved([&](IStream* s) { return writeVariant(s, v.get()); });
        write("variant", "seed-" + std::to_string(n++), bytes);
        all.insert(all.end(), bytes.begin(), bytes.end());
    }
    write("variant", "seed-sequence", all);

    ComPtr<IFontDisp> font;
    createFont("DejaVu Sans", 9.5, font.put());
    ComPtr<IPictureDisp> bmp, png;
    auto bmpFile = imageFile("BMP");
    auto pngFile = imageFile("PNG");
    loadPictureBytes(bmpFile.data(), bmpFile.size(), bmp.put());
    loadPictureBytes(pngFile.data(), pngFile.size(), png.put());
    write("object", "seed-font", saved([&](IStream* s) { return saveObject(s, font.get()); }));
    write("object", "seed-bitmap", saved([&](IStream* s) { return saveObject(s, bmp.get()); }));
    write("object", "seed-null", saved([&](IStream* s) { return saveObject(s, nullptr); }));
    write("font", "seed-font",
          saved([&](IStream* s) { return font.as<IPersistStream>(IID_IPersistStream)->Save(s, FALSE); }));
    write("picture", "seed-bitmap",
          saved([&](IStream* s) { return bmp.as<IPersistStream>(IID_IPersistStream)->Save(s, FALSE); }));
    write("picture", "seed-png",
          saved([&](IStream* s) { return png.as<IPersistStream>(IID_IPersistStream)->Save(s, FALSE); }));
    write("picture-file", "seed-bmp", bmpFile);
    write("picture-file", "seed-png", pngFile);
    write("keypath", "seed-hkcu", {'H', 'K', 'C', 'U', '\\', 'S', 'o', 'f', 't'});
    write("keypath", "seed-hklm", {'H', 'K', 'E', 'Y', '_', 'L', 'O', 'C', 'A', 'L', '_', 'M', 'A', 'C', 'H',
                                   'I', 'N', 'E', '\\', 'a', '\\', 'b'});

    // Calls: per control, every member read and written once, then the other interfaces.
    uint8_t classIndex = 0;
    for (const controls::ClassRow& row : controls::classTable()) {
        if (!row.create || row.kind == controls::ClassKind::Page)
            continue;
        std::vector<uint8_t> calls{classIndex++};
        for (uint8_t m = 0; m < 24; ++m) {
            const uint8_t get[] = {0, m, 1, 0, 0};                          // IDispatch::Invoke, get
            const uint8_t put[] = {2, m, 2, 1, 3, 0, 0, 0, 1, 1, 1};        // ITypeInfo::Invoke, put 1, named
            const uint8_t dual[] = {3, m, 1, 0, 0x20};                       // through the dual, no result
            for (const auto& part : {std::vector<uint8_t>(std::begin(get), std::end(get)),
                               std::vector<uint8_t>(std::begin(put), std::end(put)),
                               std::vector<uint8_t>(std::begin(dual), std::end(dual))})
                calls.insert(calls.end(), part.begin(), part.end());
        }
        const uint8_t rest[] = {4, 1, 1, 0, 0,       // GetIDsOfNames of a member
                                5, 3, 0, 2,          // GetPredefinedStrings
                                6, 0, 0,             // pages and class info
                                7, 1, 0, 0, 2, 1,    // Advise a full sink
                                7, 0, 5, 3, 0, 0, 0, 1, // a property change
                                8, 1, 9};            // Save into a stream that fills up
        calls.insert(calls.end(), std::begin(rest), std::end(rest));
        write("calls", std::string("seed-") + row.className, calls);
    }

    for (const controls::ClassRow& row : controls::classTable()) {
        if (!row.create || row.kind == controls::ClassKind::Page)
            continue;
        auto control = createControl(row);
        write(row.className, "seed-default", saved([&](IStream* s) { return control->Save(s, FALSE); }));
        SeedPage page(row);
        write("page", std::string("seed-") + row.className,
              saved([&](IStream* s) { return frames::savePage(s, page, true); }));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds --list | DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    if (std::string(argv[1]) == "--list") {
        for (const fuzz::Loader& l : fuzz::loaders())
            std::cout << l.name << "\n";
        return 0;
    }
    outDir = argv[1];
    try {
        writeSeeds();
    } catch (const std::exception& e) {
        std::cerr << "fuzz_seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
