#pragma once
// Late-bound automation calls (IDispatch by member name), the way a script
// talks to PowerPoint. Windows only; included by the COM backend's source.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h, which it needs
#include <oleauto.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace avelin::win32 {

// A failed automation call: the member, the error code (the exception's own
// code when the server raised one) and the server's or the system's text.
class AutomationError : public std::runtime_error {
  public:
    AutomationError(const std::string& text, HRESULT code) : std::runtime_error(text), code_(code) {}
    HRESULT code() const { return code_; }

  private:
    HRESULT code_;
};

// An argument of a call: a number or a text.
struct Argument {
    bool isText = false;
    long number = 0;
    std::wstring text;
    static Argument of(long n) { return {false, n, {}}; }
    static Argument of(const wchar_t* s) { return {true, 0, s}; }
};

// A member by name. Its dispatch id is asked of the first object it is used
// on and reused for the next ones, so one Member serves one kind of object
// (PowerPoint's ids come from its type library: every shape has the same id
// for "Name"). A name given as a plain text is looked up at each use.
class Member {
  public:
    Member(const wchar_t* name) : name(name) {} // implicit: a plain name converts
    const wchar_t* name;

  private:
    friend class Dispatch;
    mutable DISPID id_ = DISPID_UNKNOWN;
};

// One owned IDispatch reference.
class Dispatch {
  public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* owned) : p_(owned) {}
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
    Dispatch(Dispatch&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    Dispatch& operator=(Dispatch&& o) noexcept;
    ~Dispatch();

    explicit operator bool() const { return p_ != nullptr; }

    // Property get or method call of `member`; the result as an object, a
    // text in the ANSI code page, or a number. Throw AutomationError.
    Dispatch object(const Member& member, const std::vector<Argument>& args = {}) const;
    std::string text(const Member& member, const std::vector<Argument>& args = {}) const;
    long number(const Member& member, const std::vector<Argument>& args = {}) const;

  private:
    void invoke(const Member& member, const std::vector<Argument>& args, VARIANT& result) const;
    IDispatch* p_ = nullptr;
};

// The system's text for an error code, if it has one, and the code:
// "Invalid class string, error 0x800401F3".
std::string ErrorText(HRESULT code);

// A wide text in the system's ANSI code page.
std::string ToAnsi(const wchar_t* text, int length);

} // namespace avelin::win32
