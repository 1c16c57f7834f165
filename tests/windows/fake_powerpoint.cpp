// The fake PowerPoint's objects: each a table of members by name, answering as
// PowerPoint's late-bound interface does, and only what the backend asks:
// AddIns.Item(name).Path, ActivePresentation (0x80048240 when none is open)
// .Path, .Name, .Slides, Count and Item(i) of each collection, Slide.Shapes,
// Shape.Name, Shape.ActionSettings.Item(1 = click, 2 = mouse over).Run.
#include "windows/fake_powerpoint.h"

#include <oleauto.h> // after windows.h

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

#include "windows/powerpoint_script.h"

namespace avelin::wintest {
namespace {

constexpr char kWindowTitle[] = "Microsoft PowerPoint - [fake]";
// PowerPoint's code for a refused request: no active presentation, no such item.
constexpr HRESULT kInvalidRequest = static_cast<HRESULT>(0x80048240);

// An error raised to the caller, with its code and description.
struct Raised {
    HRESULT code;
    std::wstring description;
};

std::wstring Wide(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0'); // never more characters than bytes
    const int n = static_cast<int>(ansi.size());
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, wide.data(), n)));
    return wide;
}

class Object final : public IDispatch {
  public:
    // A member answers from the call's one argument, or nullptr for none.
    using Member = std::function<VARIANT(VARIANT* argument)>;
    explicit Object(std::vector<std::pair<const wchar_t*, Member>> members) : members_(std::move(members)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        const bool known = iid == IID_IUnknown || iid == IID_IDispatch;
        *out = known ? static_cast<IDispatch*>(this) : nullptr;
        return known ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    // Names match in any letter case, as in automation; no named arguments.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        std::fill_n(ids, count, DISPID_UNKNOWN);
        for (std::size_t i = 0; i < members_.size(); ++i)
            if (_wcsicmp(members_[i].first, names[0]) == 0)
                ids[0] = static_cast<DISPID>(i);
        return count == 1 && ids[0] != DISPID_UNKNOWN ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        if (id < 0 || static_cast<std::size_t>(id) >= members_.size() || params->cArgs > 1 ||
            params->cNamedArgs > 0 || !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        try {
            VARIANT value =
                members_[static_cast<std::size_t>(id)].second(params->cArgs ? params->rgvarg : nullptr);
            result ? void(*result = value) : void(VariantClear(&value));
            return S_OK;
        } catch (const Raised& e) {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->bstrDescription = SysAllocString(e.description.c_str());
                exception->scode = e.code;
            }
            return exception ? DISP_E_EXCEPTION : e.code;
        }
    }

  private:
    ULONG references_ = 1; // called on this apartment's thread only
    std::vector<std::pair<const wchar_t*, Member>> members_;
};

VARIANT Text(const std::string& ansi) {
    VARIANT v{};
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(Wide(ansi).c_str());
    return v;
}
VARIANT Number(long n) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = n;
    return v;
}
VARIANT Of(Object* object) { // takes the object's one reference
    VARIANT v{};
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}
// The argument of Item as a number (VT_I4) or a text (VT_BSTR).
VARIANT Argument(VARIANT* argument, VARTYPE type) {
    VARIANT v{};
    if (!argument || FAILED(VariantChangeType(&v, argument, 0, type)))
        throw Raised{DISP_E_TYPEMISMATCH, L"Item : Type mismatch."};
    return v;
}

// A collection of `count` items numbered from 1, as PowerPoint's are.
Object* Collection(const wchar_t* name, long count, std::function<Object*(long)> item) {
    return new Object(
        {{L"Count", [count](VARIANT*) { return Number(count); }},
         {L"Item", [=](VARIANT* argument) {
              const long i = Argument(argument, VT_I4).lVal;
              if (i < 1 || i > count)
                  throw Raised{kInvalidRequest, name + std::wstring(L".Item : Integer out of range.")};
              return Of(item(i));
          }}});
}

Object* Shape(const ShapeInfo& shape) {
    const auto action = [&shape](long i) { // no shape has a mouse-over action
        return new Object({{L"Run", [&shape, i](VARIANT*) { return Text(i == 1 ? shape.actionRun : ""); }}});
    };
    return new Object(
        {{L"Name", [&shape](VARIANT*) { return Text(shape.name); }},
         {L"ActionSettings", [action](VARIANT*) { return Of(Collection(L"ActionSettings", 2, action)); }}});
}

Object* Presentation(const PresentationInfo& p) {
    const auto slide = [&p](long i) {
        const SlideInfo& s = p.slides[static_cast<std::size_t>(i - 1)];
        const auto shape = [&s](long j) { return Shape(s.shapes[static_cast<std::size_t>(j - 1)]); };
        const long count = static_cast<long>(s.shapes.size());
        return new Object({{L"Shapes", [=](VARIANT*) { return Of(Collection(L"Shapes", count, shape)); }}});
    };
    const long count = static_cast<long>(p.slides.size());
    return new Object({{L"Path", [&p](VARIANT*) { return Text(p.path); }},
                       {L"Name", [&p](VARIANT*) { return Text(p.name); }},
                       {L"Slides", [=](VARIANT*) { return Of(Collection(L"Slides", count, slide)); }}});
}

Object* Application(const PowerPointScript& s) {
    const auto addin = [&s](VARIANT* argument) {
        VARIANT name = Argument(argument, VT_BSTR);
        const std::wstring wanted = name.bstrVal ? name.bstrVal : L"";
        VariantClear(&name);
        for (const auto& [addinName, folder] : s.addins)
            if (Wide(addinName) == wanted)
                return Of(new Object({{L"Path", [folder](VARIANT*) { return Text(folder); }}}));
        throw Raised{kInvalidRequest, L"Item " + wanted + L" not found in the AddIns collection."};
    };
    const auto addIns = [addin](VARIANT*) { return Of(new Object({{L"Item", addin}})); };
    const auto active = [&s](VARIANT*) {
        if (!s.presentation)
            throw Raised{kInvalidRequest, L"Application (unknown member) : Invalid request.  "
                                          L"There is no active presentation."};
        return Of(Presentation(*s.presentation));
    };
    return new Object({{L"AddIns", addIns}, {L"ActivePresentation", active}});
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void RegisterPowerPoint(bool registered) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kPowerPointProgId);
    if (registered)
        RegSetKeyValueA(HKEY_CLASSES_ROOT, (std::string(kPowerPointProgId) + "\\CLSID").c_str(), nullptr,
                        REG_SZ, kPowerPointClsid, sizeof kPowerPointClsid);
}

int RunFakePowerPoint(const char* scriptFile) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const PowerPointScript script = ParseScript(ReadWholeFile(scriptFile));
    CLSID clsid{};
    CLSIDFromString(Wide(kPowerPointClsid).c_str(), &clsid);
    Object* application = Application(script);
    DWORD cookie = 0;
    if (FAILED(RegisterActiveObject(application, clsid, ACTIVEOBJECT_STRONG, &cookie)))
        return 3;
    // Shown once the object can be found; the test closes it. Calls arrive as
    // messages of this thread.
    TestWindow window{kWindowTitle};
    // PowerPoint's size on a screen: a window centred over it lies whole on
    // the 1280x1024 screen of the checks.
    MoveWindow(window.hwnd(), 140, 100, 1000, 760, TRUE);
    while (IsWindow(window.hwnd())) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageW(&msg);
    }
    RevokeActiveObject(cookie, nullptr);
    application->Release();
    CoUninitialize();
    return 0;
}

FakePowerPoint::FakePowerPoint(const std::string& script) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    file_ = std::string(temp) + "avelin-powerpoint-" + std::to_string(GetCurrentProcessId()) + ".txt";
    std::ofstream(file_, std::ios::binary) << script;
    SetEnvironmentVariableA(kPowerPointScriptVariable, file_.c_str());
    process_ = StartAgain();
    SetEnvironmentVariableA(kPowerPointScriptVariable, nullptr);
    // Its window shows once its object is in the running object table.
    const auto shown = [&] { return IsWindowVisible(window_ = FindWindowA(nullptr, kWindowTitle)); };
    waitFor([&] { return !process_ || shown() || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, 20000);
    if (!shown()) {
        stop();
        throw std::runtime_error("the fake PowerPoint did not start");
    }
}

void FakePowerPoint::stop() {
    if (window_)
        PostMessageA(window_, WM_CLOSE, 0, 0);
    if (process_ && WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process_, 1);
    CloseHandle(process_);
    DeleteFileA(file_.c_str());
}

} // namespace avelin::wintest
