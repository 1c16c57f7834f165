#include "platform/win32/dispatch.h"

#include <cstdio>

namespace avelin::win32 {

namespace {

std::string hex(HRESULT code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(code));
    return buffer;
}

std::string memberName(const wchar_t* member) {
    return ToAnsi(member, -1);
}

// Clears a VARIANT when it goes out of scope.
struct VariantGuard {
    VARIANT& v;
    ~VariantGuard() { VariantClear(&v); }
};

} // namespace

std::string ErrorText(HRESULT code) {
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? std::string(buffer, n) : std::string();
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return (text.empty() ? "" : text + ", ") + "error " + hex(code);
}

std::string ToAnsi(const wchar_t* text, int length) {
    if (!text || length == 0)
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), n, nullptr, nullptr);
    if (length < 0 && !out.empty() && out.back() == '\0')
        out.pop_back(); // a length of -1 counts the terminator
    return out;
}

Dispatch& Dispatch::operator=(Dispatch&& o) noexcept {
    if (this != &o) {
        if (p_)
            p_->Release();
        p_ = o.p_;
        o.p_ = nullptr;
    }
    return *this;
}

Dispatch::~Dispatch() {
    if (p_)
        p_->Release();
}

void Dispatch::invoke(const Member& m, const std::vector<Argument>& args, VARIANT& result) const {
    const wchar_t* member = m.name;
    if (!p_)
        throw AutomationError("PowerPoint: " + memberName(member) + ": no object", E_POINTER);
    HRESULT hr = S_OK;
    if (m.id_ == DISPID_UNKNOWN) {
        LPOLESTR name = const_cast<LPOLESTR>(member);
        DISPID id = DISPID_UNKNOWN;
        hr = p_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr))
            throw AutomationError(
                "PowerPoint has no member " + memberName(member) + " (" + ErrorText(hr) + ")", hr);
        m.id_ = id;
    }

    // Arguments go in reverse order.
    std::vector<VARIANT> values(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        VARIANT& v = values[args.size() - 1 - i];
        VariantInit(&v);
        if (args[i].isText) {
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocString(args[i].text.c_str());
        } else {
            v.vt = VT_I4;
            v.lVal = args[i].number;
        }
    }
    DISPPARAMS params{values.empty() ? nullptr : values.data(), nullptr, static_cast<UINT>(values.size()), 0};
    EXCEPINFO exception{};
    UINT badArgument = 0;
    VariantInit(&result);
    hr = p_->Invoke(m.id_, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &params,
                    &result, &exception, &badArgument);
    for (VARIANT& v : values)
        VariantClear(&v);
    if (SUCCEEDED(hr))
        return;

    std::string description;
    if (hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn)
            exception.pfnDeferredFillIn(&exception);
        if (exception.scode != 0)
            hr = exception.scode;
        if (exception.bstrDescription)
            description =
                ToAnsi(exception.bstrDescription, static_cast<int>(SysStringLen(exception.bstrDescription)));
    }
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    description = description.empty() ? ErrorText(hr) : description + " (" + hex(hr) + ")";
    throw AutomationError("PowerPoint: " + memberName(member) + ": " + description, hr);
}

Dispatch Dispatch::object(const Member& member, const std::vector<Argument>& args) const {
    VARIANT result;
    invoke(member, args, result);
    VariantGuard guard{result};
    if (result.vt != VT_DISPATCH || !result.pdispVal)
        throw AutomationError("PowerPoint: " + memberName(member.name) + " is not an object",
                              DISP_E_TYPEMISMATCH);
    result.pdispVal->AddRef();
    return Dispatch(result.pdispVal);
}

std::string Dispatch::text(const Member& member, const std::vector<Argument>& args) const {
    VARIANT result;
    invoke(member, args, result);
    VariantGuard guard{result};
    if (result.vt == VT_EMPTY || result.vt == VT_NULL)
        return {};
    if (result.vt != VT_BSTR && FAILED(VariantChangeType(&result, &result, 0, VT_BSTR)))
        throw AutomationError("PowerPoint: " + memberName(member.name) + " is not a text",
                              DISP_E_TYPEMISMATCH);
    return ToAnsi(result.bstrVal, static_cast<int>(SysStringLen(result.bstrVal)));
}

long Dispatch::number(const Member& member, const std::vector<Argument>& args) const {
    VARIANT result;
    invoke(member, args, result);
    VariantGuard guard{result};
    if (result.vt != VT_I4 && FAILED(VariantChangeType(&result, &result, 0, VT_I4)))
        throw AutomationError("PowerPoint: " + memberName(member.name) + " is not a number",
                              DISP_E_TYPEMISMATCH);
    return result.lVal;
}

} // namespace avelin::win32
