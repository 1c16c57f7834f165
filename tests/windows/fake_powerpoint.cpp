// The fake PowerPoint's object model: each object a table of members by name,
// each member answering a property get or method call, as PowerPoint's
// late-bound interface does. Only what the backend asks is there:
// AddIns.Item(name).Path, ActivePresentation (0x80048240 when none is open),
// its Path, Name and Slides, Count and Item(i) of every collection, a slide's
// Shapes, a shape's Name and ActionSettings.Item(1 = click, 2 = mouse over).Run.
#include "windows/fake_powerpoint.h"

#include <oleauto.h> // after windows.h

#include <atomic>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

#include "windows/powerpoint_script.h"

namespace avelin::wintest {
namespace {

constexpr char kWindowTitle[] = "Microsoft PowerPoint - [fake]";
// PowerPoint's code for a refused request: no active presentation, no such item.
constexpr HRESULT kInvalidRequest = static_cast<HRESULT>(0x80048240);

// An error the fake raises: the caller gets its code and description through
// the exception information of IDispatch::Invoke.
struct Raised {
    HRESULT code;
    std::wstring description;
};

std::wstring Wide(const std::string& ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

class Object final : public IDispatch {
  public:
    using Member = std::function<VARIANT(const DISPPARAMS&)>;
    explicit Object(std::vector<std::pair<const wchar_t*, Member>> members) : members_(std::move(members)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown || iid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    // A member's name in any letter case, as automation matches names; no named arguments.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT n = 0; n < count; ++n)
            ids[n] = DISPID_UNKNOWN;
        for (std::size_t i = 0; i < members_.size(); ++i)
            if (_wcsicmp(members_[i].first, names[0]) == 0)
                ids[0] = static_cast<DISPID>(i);
        return count == 1 && ids[0] != DISPID_UNKNOWN ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        if (id < 0 || static_cast<std::size_t>(id) >= members_.size() ||
            !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        try {
            VARIANT value = members_[static_cast<std::size_t>(id)].second(*params);
            if (result)
                *result = value;
            else
                VariantClear(&value);
            return S_OK;
        } catch (const Raised& e) {
            if (!exception)
                return e.code;
            *exception = EXCEPINFO{};
            exception->bstrSource = SysAllocString(L"Microsoft PowerPoint");
            exception->bstrDescription = SysAllocString(e.description.c_str());
            exception->scode = e.code;
            return DISP_E_EXCEPTION;
        }
    }

  private:
    std::atomic<ULONG> references_{1};
    std::vector<std::pair<const wchar_t*, Member>> members_;
};

VARIANT Value(VARTYPE type) {
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    return v;
}
VARIANT Text(const std::string& ansi) {
    VARIANT v = Value(VT_BSTR);
    const std::wstring wide = Wide(ansi);
    v.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return v;
}
VARIANT Number(long n) {
    VARIANT v = Value(VT_I4);
    v.lVal = n;
    return v;
}
VARIANT Of(Object* object) { // takes the object's one reference
    VARIANT v = Value(VT_DISPATCH);
    v.pdispVal = object;
    return v;
}
// The one argument of Item, as `type`.
VARIANT Argument(const DISPPARAMS& p, VARTYPE type) {
    VARIANT v = Value(VT_EMPTY);
    if (p.cArgs != 1 || p.cNamedArgs != 0)
        throw Raised{DISP_E_BADPARAMCOUNT, L"Item takes one argument."};
    if (FAILED(VariantChangeType(&v, &p.rgvarg[0], 0, type)))
        throw Raised{DISP_E_TYPEMISMATCH, L"Type mismatch."};
    return v;
}

// A collection of `count` items numbered from 1, as PowerPoint's are.
Object* Collection(const wchar_t* name, long count, std::function<Object*(long)> item) {
    return new Object(
        {{L"Count", [count](const DISPPARAMS&) { return Number(count); }},
         {L"Item", [=](const DISPPARAMS& p) {
              const long i = Argument(p, VT_I4).lVal;
              if (i < 1 || i > count)
                  throw Raised{kInvalidRequest, std::wstring(name) + L".Item : Integer out of range."};
              return Of(item(i));
          }}});
}

Object* Shape(const ShapeInfo& shape) {
    return new Object({{L"Name", [&shape](const DISPPARAMS&) { return Text(shape.name); }},
                       {L"ActionSettings", [&shape](const DISPPARAMS&) {
                            return Of(Collection(L"ActionSettings", 2, [&shape](long i) {
                                const std::string run =
                                    i == 1 ? shape.actionRun : ""; // no mouse-over actions
                                return new Object({{L"Run", [run](const DISPPARAMS&) { return Text(run); }}});
                            }));
                        }}});
}

Object* Presentation(const PresentationInfo& p) {
    const auto slide = [&p](long i) {
        const SlideInfo& s = p.slides[static_cast<std::size_t>(i - 1)];
        return new Object({{L"Shapes", [&s](const DISPPARAMS&) {
                                return Of(
                                    Collection(L"Shapes", static_cast<long>(s.shapes.size()), [&s](long j) {
                                        return Shape(s.shapes[static_cast<std::size_t>(j - 1)]);
                                    }));
                            }}});
    };
    return new Object({{L"Path", [&p](const DISPPARAMS&) { return Text(p.path); }},
                       {L"Name", [&p](const DISPPARAMS&) { return Text(p.name); }},
                       {L"Slides", [&p, slide](const DISPPARAMS&) {
                            return Of(Collection(L"Slides", static_cast<long>(p.slides.size()), slide));
                        }}});
}

Object* Application(const PowerPointScript& s) {
    const auto addin = [&s](const DISPPARAMS& p) {
        VARIANT name = Argument(p, VT_BSTR);
        const std::wstring wanted(name.bstrVal, SysStringLen(name.bstrVal));
        VariantClear(&name);
        for (const auto& [addinName, folder] : s.addins)
            if (Wide(addinName) == wanted)
                return Of(new Object({{L"Path", [folder](const DISPPARAMS&) { return Text(folder); }}}));
        throw Raised{kInvalidRequest, L"Item " + wanted + L" not found in the AddIns collection."};
    };
    return new Object({{L"AddIns",
                        [addin](const DISPPARAMS&) {
                            return Of(new Object({{L"Item", addin}}));
                        }},
                       {L"ActivePresentation", [&s](const DISPPARAMS&) {
                            if (!s.presentation)
                                throw Raised{kInvalidRequest,
                                             L"Application (unknown member) : Invalid request.  "
                                             L"There is no active presentation."};
                            return Of(Presentation(*s.presentation));
                        }}});
}

} // namespace

std::string ReadWholeFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

void RegisterPowerPoint(bool registered) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kPowerPointProgId);
    if (registered)
        RegSetKeyValueA(HKEY_CLASSES_ROOT, (std::string(kPowerPointProgId) + "\\CLSID").c_str(), nullptr,
                        REG_SZ, kPowerPointClsid, sizeof kPowerPointClsid);
}

int RunFakePowerPoint(const char* scriptFile) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    int status = 0;
    try {
        const PowerPointScript script = ParseScript(ReadWholeFile(scriptFile));
        CLSID clsid{};
        CLSIDFromString(Wide(kPowerPointClsid).c_str(), &clsid);
        Object* application = Application(script);
        DWORD cookie = 0;
        if (SUCCEEDED(RegisterActiveObject(application, clsid, ACTIVEOBJECT_STRONG, &cookie))) {
            // Shown once the object can be found; the test closes it. Calls
            // arrive as messages of this thread.
            TestWindow window{kWindowTitle};
            while (IsWindow(window.hwnd())) {
                MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
                for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
                    DispatchMessageW(&msg);
            }
            RevokeActiveObject(cookie, nullptr);
        } else {
            status = 3;
        }
        application->Release();
    } catch (const std::exception& e) {
        std::printf("fake PowerPoint: %s\n", e.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}

FakePowerPoint::FakePowerPoint(const std::string& script) {
    char temp[MAX_PATH] = {}, program[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    file_ = std::string(temp) + "avelin-powerpoint-" + std::to_string(GetCurrentProcessId()) + ".txt";
    if (FILE* f = std::fopen(file_.c_str(), "wb")) {
        std::fwrite(script.data(), 1, script.size(), f);
        std::fclose(f);
    }
    SetEnvironmentVariableA(kPowerPointScriptVariable, file_.c_str());
    std::string commandLine = "\"" + std::string(program) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const bool started = CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &info);
    SetEnvironmentVariableA(kPowerPointScriptVariable, nullptr);
    if (started) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        const auto ended = [&] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; };
        waitFor([&] { return (window_ = FindWindowA(nullptr, kWindowTitle)) || ended(); }, 20000);
    }
    if (!window_) {
        stop();
        throw std::runtime_error("the fake PowerPoint did not start");
    }
}

void FakePowerPoint::stop() {
    if (window_)
        PostMessageA(window_, WM_CLOSE, 0, 0);
    if (process_) {
        if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
    DeleteFileA(file_.c_str());
}

} // namespace avelin::wintest
