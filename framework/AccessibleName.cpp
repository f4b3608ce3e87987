// The accessible object of a named window: the system's own, with the name and role answered here.
#include "framework/AccessibleName.h"

#include <oleacc.h>

#include <utility>

#include "framework/Application.h"
#include "framework/ComPtr.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"

namespace fw {

namespace {

BSTR NewString(const std::u16string& text) {
    const SystemLibrary oleaut(L"oleaut32.dll");
    return oleaut.Get<decltype(SysAllocStringLen)>("SysAllocStringLen")(reinterpret_cast<const OLECHAR*>(text.data()),
                                                                        static_cast<UINT>(text.size()));
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's object for the window, every call passed on, but the name and the role of the window
// itself (child CHILDID_SELF) when the override has them.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(ComPtr<IAccessible> inner, std::shared_ptr<AccessibleName::Answers> answers)
        : inner_(std::move(inner)), answers_(std::move(answers)) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The window's other faces (its handle, its children's enumeration) are the system's.
        return inner_->QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE
    GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id,
                                     REFIID iid,
                                     LCID locale,
                                     WORD flags,
                                     DISPPARAMS* params,
                                     VARIANT* result,
                                     EXCEPINFO* error,
                                     UINT* argument) override {
        return inner_->Invoke(id, iid, locale, flags, params, result, error, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (name == nullptr) return E_POINTER;
        if (!IsSelf(child) || !answers_->name) return inner_->get_accName(child, name);
        try {
            *name = NewString(answers_->name());
            return *name != nullptr ? S_OK : E_OUTOFMEMORY;
        } catch (...) {
            // A screen reader's question is no place for the error dialog: it reads the system's name.
            return inner_->get_accName(child, name);
        }
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        if (!IsSelf(child) || answers_->role == 0) return inner_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = answers_->role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return inner_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return inner_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return inner_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return inner_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    ComPtr<IAccessible> inner_;
    std::shared_ptr<AccessibleName::Answers> answers_;
    ULONG references_ = 1;
};

// The client object with the answers, or 0 for another object or when the system has none.
LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam, std::shared_ptr<AccessibleName::Answers> answers) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
    UseOle();  // the object goes to the reader through OLE's marshalling
    ComPtr<IAccessible> system;
    // Loaded when a screen reader first asks (and kept from then on): a program nobody reads carries
    // neither this library nor the one of its texts.
    const SystemLibrary oleacc(L"oleacc.dll");
    const auto createStandard = oleacc.Get<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    if (FAILED(createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(system.put())))) {
        return 0;
    }
    auto* named = new NamedAccessible(std::move(system), std::move(answers));
    const LRESULT result =
        oleacc.Get<decltype(LresultFromObject)>("LresultFromObject")(__uuidof(IAccessible), wParam, named);
    named->Release();  // the result holds its own reference
    return result;
}

}  // namespace

LRESULT AccessibleNameAnswer(HWND window, WPARAM wParam, LPARAM lParam, std::u16string name, long role) {
    return Answer(window, wParam, lParam,
                  std::make_shared<AccessibleName::Answers>(
                      AccessibleName::Answers{[name = std::move(name)] { return name; }, role}));
}

void NotifyAccessibleFocus(HWND window) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
}

AccessibleName::AccessibleName(HWND window, NameSource name, long role)
    : answers_(std::make_shared<Answers>(Answers{std::move(name), role})) {
    Subclass(window);
}

AccessibleName::~AccessibleName() {
    // Objects a screen reader still holds answer as the system would from now on.
    *answers_ = {};
}

LRESULT AccessibleName::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT) {
        if (const LRESULT result = Answer(Handle(), wParam, lParam, answers_)) return result;
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace fw
