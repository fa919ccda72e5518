#pragma once
// Typed accessors for dispatch rows, generated from member pointers:
//   DispMember<&CLed::m_color, &CLed::OnColorChanged>   a member property
//   DispGetSet<&CSpin::GetValue, &CSpin::SetValue>     get/set functions
//   DispMethod<&CSpin::SetVal>                         a method
// C++ values meet variants through VariantTraits<T>, which a layer above may
// specialise for its own types (the framework's string, for instance). A
// parameter declared T* is by reference: the callee sees a local copy whose
// final value goes back to the caller.
#include "platform/com/DispatchTable.h"

#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

template <class T> struct VariantTraits;

template <> struct VariantTraits<SHORT> {
    static constexpr VARTYPE vt = VT_I2;
    static SHORT Read(const VARIANT& v) { return v.iVal; }
    static void Write(SHORT x, VARIANT* v) { v->vt = VT_I2, v->iVal = x; }
};
template <> struct VariantTraits<USHORT> {
    static constexpr VARTYPE vt = VT_UI2;
    static USHORT Read(const VARIANT& v) { return v.uiVal; }
    static void Write(USHORT x, VARIANT* v) { v->vt = VT_UI2, v->uiVal = x; }
};
// LONG and BOOL are the same C++ type; the row's declared type decides.
template <> struct VariantTraits<LONG> {
    static constexpr VARTYPE vt = VT_I4;
    static LONG Read(const VARIANT& v) { return v.lVal; }
    static void Write(LONG x, VARIANT* v) { v->vt = VT_I4, v->lVal = x; }
};
template <> struct VariantTraits<float> {
    static constexpr VARTYPE vt = VT_R4;
    static float Read(const VARIANT& v) { return v.fltVal; }
    static void Write(float x, VARIANT* v) { v->vt = VT_R4, v->fltVal = x; }
};
template <> struct VariantTraits<double> {
    static constexpr VARTYPE vt = VT_R8;
    static double Read(const VARIANT& v) { return v.dblVal; }
    static void Write(double x, VARIANT* v) { v->vt = VT_R8, v->dblVal = x; }
};
template <> struct VariantTraits<bool> {
    static constexpr VARTYPE vt = VT_BOOL;
    static bool Read(const VARIANT& v) { return v.boolVal != 0; }
    static void Write(bool x, VARIANT* v) { v->vt = VT_BOOL, v->boolVal = x ? VARIANT_TRUE : 0; }
};
// Plain strings hold the controls' Windows-1252 text.
template <> struct VariantTraits<std::string> {
    static constexpr VARTYPE vt = VT_BSTR;
    static std::string Read(const VARIANT& v) { return AnsiFromBstr(v.bstrVal); }
    static void Write(const std::string& x, VARIANT* v) {
        v->vt = VT_BSTR;
        v->bstrVal = BstrFromAnsi(x);
    }
};
template <> struct VariantTraits<CComVariant> {
    static constexpr VARTYPE vt = VT_VARIANT;
    static CComVariant Read(const VARIANT& v) { return CComVariant(v); }
    static void Write(const CComVariant& x, VARIANT* v) { VariantCopy(v, &x); }
};

namespace kw::dispatch {

template <class T> using Bare = std::remove_cvref_t<T>;

// Reads a value of the declared type into a C++ value.
template <class T> HRESULT ReadValue(const VARIANT& v, T* out) {
    using Traits = VariantTraits<T>;
    if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
        // A BOOL parameter sees TRUE (1), not VARIANT_TRUE (-1).
        if (v.vt == VT_BOOL) {
            *out = v.boolVal ? 1 : 0;
            return S_OK;
        }
    }
    if (v.vt == Traits::vt || Traits::vt == VT_VARIANT) {
        *out = Traits::Read(v);
        return S_OK;
    }
    CComVariant converted;
    HRESULT hr = VariantChangeType(&converted, &v, 0, Traits::vt);
    if (FAILED(hr))
        return hr;
    *out = Traits::Read(converted);
    return S_OK;
}

// Writes a C++ value as a variant of the declared type.
template <class T> HRESULT WriteValue(const T& value, VARTYPE declared, VARIANT* out) {
    CComVariant natural;
    VariantTraits<T>::Write(value, &natural);
    if (declared == VT_VARIANT || declared == natural.vt) {
        VariantClear(out);
        *out = natural;
        natural.vt = VT_EMPTY; // moved
        return S_OK;
    }
    return VariantChangeType(out, &natural, 0, declared);
}

template <class> struct MemberFunction;
template <class C, class R, class... A> struct MemberFunction<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<A...>;
};
template <class C, class R, class... A> struct MemberFunction<R (C::*)(A...) const> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<A...>;
};

template <class> struct MemberField;
template <class C, class T> struct MemberField<T C::*> {
    using Class = C;
    using Type = T;
};

// The storage a parameter of C++ type A needs: the pointee for T*.
template <class A> using ArgStorage = Bare<std::remove_pointer_t<A>>;

template <class A> decltype(auto) PassArg(ArgStorage<A>& storage) {
    if constexpr (std::is_pointer_v<A>)
        return &storage;
    else
        return static_cast<ArgStorage<A>&>(storage);
}

} // namespace kw::dispatch

template <auto Field, auto Notify = nullptr>
HRESULT DispMemberGet(void* object, const DispEntry& e, VARIANT* result) {
    using F = kw::dispatch::MemberField<decltype(Field)>;
    auto* self = static_cast<typename F::Class*>(object);
    return kw::dispatch::WriteValue(self->*Field, e.type, result);
}

template <auto Field, auto Notify = nullptr>
HRESULT DispMemberPut(void* object, const DispEntry&, const VARIANT& value) {
    using F = kw::dispatch::MemberField<decltype(Field)>;
    auto* self = static_cast<typename F::Class*>(object);
    typename F::Type converted{};
    HRESULT hr = kw::dispatch::ReadValue(value, &converted);
    if (FAILED(hr))
        return hr;
    self->*Field = std::move(converted);
    if constexpr (!std::is_same_v<decltype(Notify), std::nullptr_t>)
        (self->*Notify)();
    return S_OK;
}

template <auto Getter> HRESULT DispGetterCall(void* object, const DispEntry& e, VARIANT* result) {
    using M = kw::dispatch::MemberFunction<decltype(Getter)>;
    auto* self = static_cast<typename M::Class*>(object);
    return kw::dispatch::WriteValue((self->*Getter)(), e.type, result);
}

template <auto Setter>
HRESULT DispSetterCall(void* object, const DispEntry&, const VARIANT& value) {
    using M = kw::dispatch::MemberFunction<decltype(Setter)>;
    using Arg = kw::dispatch::Bare<std::tuple_element_t<0, typename M::Args>>;
    auto* self = static_cast<typename M::Class*>(object);
    Arg converted{};
    HRESULT hr = kw::dispatch::ReadValue(value, &converted);
    if (FAILED(hr))
        return hr;
    (self->*Setter)(converted);
    return S_OK;
}

template <auto Method>
HRESULT DispMethodCall(void* object, const DispEntry& e, VARIANT* args, VARIANT* result) {
    using M = kw::dispatch::MemberFunction<decltype(Method)>;
    using Args = typename M::Args;
    constexpr std::size_t N = std::tuple_size_v<Args>;
    if (e.params.size() != N)
        return E_UNEXPECTED; // the row and the function disagree
    auto* self = static_cast<typename M::Class*>(object);
    return [&]<std::size_t... I>(std::index_sequence<I...>)->HRESULT {
        std::tuple<kw::dispatch::ArgStorage<std::tuple_element_t<I, Args>>...> locals;
        HRESULT hr = S_OK;
        ((hr = SUCCEEDED(hr) ? kw::dispatch::ReadValue(args[I], &std::get<I>(locals)) : hr), ...);
        if (FAILED(hr))
            return hr;
        if constexpr (std::is_void_v<typename M::Result>) {
            (self->*Method)(
                kw::dispatch::PassArg<std::tuple_element_t<I, Args>>(std::get<I>(locals))...);
        } else {
            auto value = (self->*Method)(
                kw::dispatch::PassArg<std::tuple_element_t<I, Args>>(std::get<I>(locals))...);
            hr = kw::dispatch::WriteValue(value, e.type, result);
            if (FAILED(hr))
                return hr;
        }
        // By-reference parameters hand their final values back.
        ((hr = SUCCEEDED(hr) && std::is_pointer_v<std::tuple_element_t<I, Args>>
                   ? kw::dispatch::WriteValue(std::get<I>(locals), e.params[I].vt & ~VT_BYREF,
                                              &args[I])
                   : hr),
         ...);
        return hr;
    }
    (std::make_index_sequence<N>{});
}

// Row builders.
template <auto Field, auto Notify = nullptr>
constexpr DispEntry DispMember(const char* name, DISPID dispid, VARTYPE type,
                               const char* typeLibName = nullptr) {
    return DispEntry{name,
                     dispid,
                     DispKind::Property,
                     type,
                     {},
                     &DispMemberGet<Field, Notify>,
                     &DispMemberPut<Field, Notify>,
                     nullptr,
                     nullptr,
                     typeLibName};
}

template <auto Getter, auto Setter>
constexpr DispEntry DispGetSet(const char* name, DISPID dispid, VARTYPE type,
                               const char* typeLibName = nullptr) {
    DispPutFn put = nullptr;
    if constexpr (!std::is_same_v<decltype(Setter), std::nullptr_t>)
        put = &DispSetterCall<Setter>;
    return DispEntry{name,    dispid,  DispKind::Property, type, {}, &DispGetterCall<Getter>, put,
                     nullptr, nullptr, typeLibName};
}

template <auto Method>
constexpr DispEntry DispMethod(const char* name, DISPID dispid, VARTYPE result,
                               std::span<const DispParam> params,
                               const char* typeLibName = nullptr) {
    return DispEntry{name,    dispid,  DispKind::Method,        result,  params,
                     nullptr, nullptr, &DispMethodCall<Method>, nullptr, typeLibName};
}

// An event row: a method without accessors, fired by the object.
constexpr DispEntry DispEvent(const char* name, DISPID dispid, std::span<const DispParam> params) {
    return DispEntry{name, dispid, DispKind::Method, VT_EMPTY, params};
}
