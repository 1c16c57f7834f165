#include "platform/win32/com_presentation_app.h"

#include "platform/win32/dispatch.h"

#include <objbase.h>

#ifdef _MSC_VER
#pragma comment(lib, "ole32.lib")
#pragma comment(lib, "oleaut32.lib")
#endif

namespace avelin {

using win32::Argument;
using win32::AutomationError;
using win32::Dispatch;
using win32::Member;

struct ComPresentationApp::Impl {
    bool uninitialise = false;
    Dispatch application;

    const Dispatch& app() {
        if (!application)
            attach();
        return application;
    }

    void attach() {
        CLSID clsid{};
        HRESULT hr = CLSIDFromProgID(L"PowerPoint.Application", &clsid);
        if (FAILED(hr))
            throw std::runtime_error("PowerPoint is not installed (" + win32::ErrorText(hr) + ").");
        IUnknown* unknown = nullptr;
        hr = GetActiveObject(clsid, nullptr, &unknown);
        if (FAILED(hr) || !unknown)
            throw std::runtime_error("PowerPoint's automation object could not be obtained (" +
                                     win32::ErrorText(hr) + ").");
        IDispatch* dispatch = nullptr;
        hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->Release();
        if (FAILED(hr) || !dispatch)
            throw std::runtime_error("PowerPoint's automation object could not be obtained (" +
                                     win32::ErrorText(hr) + ").");
        application = Dispatch(dispatch);
    }
};

ComPresentationApp::ComPresentationApp() : impl_(std::make_unique<Impl>()) {
    // The window library has usually initialised COM on this thread already;
    // then this call only counts up, and the destructor counts down.
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    impl_->uninitialise = SUCCEEDED(hr);
}

ComPresentationApp::~ComPresentationApp() {
    const bool uninitialise = impl_->uninitialise;
    impl_.reset(); // release PowerPoint's objects before COM goes
    if (uninitialise)
        CoUninitialize();
}

void ComPresentationApp::attach() {
    impl_->attach();
}

std::string ComPresentationApp::addinPath(const std::string& addinName) {
    const std::wstring name(addinName.begin(), addinName.end()); // add-in names are ASCII
    try {
        const Dispatch addIns = impl_->app().object(L"AddIns");
        return addIns.object(L"Item", {Argument::of(name.c_str())}).text(L"Path");
    } catch (const AutomationError& e) {
        throw std::runtime_error("PowerPoint has no add-in named \"" + addinName + "\" (" + e.what() + ").");
    }
}

namespace {

// ActivePresentation, or NoActivePresentation when none is open.
Dispatch ActivePresentationOf(const Dispatch& app) {
    try {
        return app.object(L"ActivePresentation");
    } catch (const AutomationError& e) {
        if (static_cast<long>(e.code()) == NoActivePresentation::kErrorNumber)
            throw NoActivePresentation();
        throw;
    }
}

} // namespace

PresentationInfo ComPresentationApp::activePresentationFile() {
    const Dispatch presentation = ActivePresentationOf(impl_->app());
    return PresentationInfo{presentation.text(L"Path"), presentation.text(L"Name"), {}};
}

PresentationInfo ComPresentationApp::activePresentation() {
    const Dispatch presentation = ActivePresentationOf(impl_->app());
    PresentationInfo info;
    info.path = presentation.text(L"Path");
    info.name = presentation.text(L"Name");
    const Dispatch slides = presentation.object(L"Slides");
    const long slideCount = slides.number(L"Count");
    // Every slide, shape and action is asked the same members: their ids are
    // looked up once, which halves the calls into PowerPoint.
    const Member slideItem{L"Item"}, slideShapes{L"Shapes"}, shapeCount{L"Count"}, shapeItem{L"Item"},
        shapeName{L"Name"}, shapeActions{L"ActionSettings"}, actionItem{L"Item"}, actionRun{L"Run"};
    for (long i = 1; i <= slideCount; ++i) {
        const Dispatch shapes = slides.object(slideItem, {Argument::of(i)}).object(slideShapes);
        SlideInfo slide;
        const long shapesOnSlide = shapes.number(shapeCount);
        for (long j = 1; j <= shapesOnSlide; ++j) {
            const Dispatch shape = shapes.object(shapeItem, {Argument::of(j)});
            ShapeInfo s;
            s.name = shape.text(shapeName);
            // Item 1 is the mouse-click action.
            if (IsVoteShape(s.name))
                s.actionRun = shape.object(shapeActions).object(actionItem, {Argument::of(1L)}).text(actionRun);
            slide.shapes.push_back(std::move(s));
        }
        info.slides.push_back(std::move(slide));
    }
    return info;
}

} // namespace avelin
