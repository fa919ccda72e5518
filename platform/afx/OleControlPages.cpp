// COleControl: the classes of its property pages, for a container's frame
// (ISpecifyPropertyPages, answered by a small object of its own).
#include "platform/afx/OleControl.h"
#include "platform/afx/PropertyPageInterfaces.h"
#include "platform/com/ComObject.h"

namespace {

class CSpecifyPages final
    : public CComObjectRoot<ISpecifyPropertyPages, IID_ISpecifyPropertyPages> {
public:
    CSpecifyPages(COleControl* control, IUnknown* owner) : m_control(control), m_owner(owner) {}

    STDMETHOD(GetPages)(CAUUID* pages) override {
        if (!pages)
            return E_POINTER;
        pages->elems.clear();
        const COleControlClass& cls = m_control->GetControlClass();
        if (cls.factories)
            if (auto* factory = dynamic_cast<COleControlFactory*>(cls.factories->Find(cls.clsid)))
                pages->elems = factory->GetPropPageIDs();
        return S_OK;
    }

private:
    COleControl* m_control;
    ComPtr<IUnknown> m_owner; // keeps the control alive
};

} // namespace

HRESULT COleControl::QuerySpecifyPropertyPages(void** ppv) {
    auto* pages = new CSpecifyPages(this, static_cast<IOleObject*>(this));
    *ppv = static_cast<ISpecifyPropertyPages*>(pages);
    return S_OK;
}
