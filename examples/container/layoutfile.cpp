#include "layoutfile.h"
#include <vyr/com/memstream.h>
#include <vyr/com/persist.h>
#include <vyr/com/streamio.h>
#include <QFile>
#include <QSaveFile>
#include <cstdio>

using vyr::com::ComPtr;

namespace {

std::string hresultText(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

} // namespace

HRESULT loadLayout(const std::string& path, ComPtr<IUnknown>& control, std::string& error)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read " + path + ": " + file.errorString().toStdString();
        return STG_E_READFAULT;
    }
    const QByteArray data = file.readAll();
    auto stream = vyr::com::MemoryStream::create(std::vector<uint8_t>(data.begin(), data.end()));

    CLSID clsid{};
    HRESULT hr = vyr::com::readGuid(stream.get(), clsid);
    if (FAILED(hr)) {
        error = path + " is too short for a layout";
        return hr;
    }
    ComPtr<IClassFactory> factory;
    if (FAILED(hr = DllGetClassObject(clsid, IID_IClassFactory, factory.putVoid()))) {
        error = path + ": the library has no control " + vyr::com::formatGuid(clsid);
        return hr;
    }
    ComPtr<IUnknown> created;
    if (FAILED(hr = factory->CreateInstance(nullptr, IID_IUnknown, created.putVoid()))) {
        error = "cannot create the control of " + path + " (" + hresultText(hr) + ")";
        return hr;
    }
    auto persist = created.as<IPersistStreamInit>(IID_IPersistStreamInit);
    if (!persist) {
        error = "the control of " + path + " cannot be loaded from a stream";
        return E_NOINTERFACE;
    }
    if (FAILED(hr = persist->Load(stream.get()))) {
        error = path + " is not a valid layout (" + hresultText(hr) + ")";
        return hr;
    }
    control = created;
    return S_OK;
}

HRESULT saveLayout(const std::string& path, IUnknown* control, std::string& error)
{
    auto stream = vyr::com::MemoryStream::create();
    HRESULT hr = vyr::com::saveObject(stream.get(), control);
    if (FAILED(hr)) {
        error = "the control could not save its layout (" + hresultText(hr) + ")";
        return hr;
    }
    QSaveFile file(QString::fromStdString(path));
    const auto& bytes = stream->bytes();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()) ||
        !file.commit()) {
        error = "cannot write " + path + ": " + file.errorString().toStdString();
        return STG_E_WRITEFAULT;
    }
    return S_OK;
}
