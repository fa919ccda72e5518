// kwregsvr: registers and unregisters component module files, as the
// platform's registration tool does, and lists what is registered.
//
//   kwregsvr MODULE            calls the module's DllRegisterServer
//   kwregsvr -u MODULE         calls its DllUnregisterServer
//   kwregsvr --list [MODULE]   lists registered classes (of MODULE only)
//   kwregsvr --reference MODULE
//                              writes the Markdown reference of the module's
//                              controls, read from its type library
//   -s                         silent: no message on success
//
// Exit codes follow the platform's tool: 0 success, 1 bad arguments,
// 3 the file could not be loaded, 4 the entry point is missing, 5 the call
// failed.
#include "hosts/regsvr/Reference.h"
#include "hosts/regsvr/RegistrationList.h"
#include "platform/com/ComLoader.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

enum ExitCode { kOk = 0, kBadArguments = 1, kLoadFailed = 3, kNoEntryPoint = 4, kCallFailed = 5 };

void PrintUsage() {
    std::fprintf(stderr, "usage: kwregsvr [-u] [-s] MODULE\n"
                         "       kwregsvr --list [MODULE]\n"
                         "       kwregsvr --reference MODULE\n");
}

std::string AbsolutePath(const char* path) {
    char resolved[PATH_MAX];
    return realpath(path, resolved) ? std::string(resolved) : std::string(path);
}

int CallEntryPoint(const std::string& path, bool unregister, bool silent) {
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    CModuleFile module;
    std::string error;
    HRESULT hr = module.Open(path, &error);
    if (FAILED(hr)) {
        std::fprintf(stderr, "kwregsvr: the module \"%s\" failed to load (%s): %s\n", path.c_str(),
                     FormatHResult(hr).c_str(), error.c_str());
        return kLoadFailed;
    }
    auto call = reinterpret_cast<DllRegisterServerFn>(module.Symbol(entry));
    if (!call) {
        std::fprintf(stderr, "kwregsvr: the module \"%s\" has no entry point %s\n", path.c_str(),
                     entry);
        return kNoEntryPoint;
    }
    hr = call();
    if (FAILED(hr)) {
        std::fprintf(stderr, "kwregsvr: %s in %s failed. Return code was: %s\n", entry,
                     path.c_str(), FormatHResult(hr).c_str());
        return kCallFailed;
    }
    if (!silent)
        std::printf("%s in %s succeeded.\n", entry, path.c_str());
    return kOk;
}

int WriteReference(const std::string& path) {
    ComPtr<ITypeLib> lib;
    const HRESULT hr = LoadTypeLib(path.c_str(), lib.Out());
    if (FAILED(hr)) {
        std::fprintf(stderr, "kwregsvr: the type library of \"%s\" cannot be loaded: %s\n",
                     path.c_str(), FormatHResult(hr).c_str());
        return kLoadFailed;
    }
    std::string error;
    const std::string text = kw::regsvr::ReferenceOf(lib.Get(), &error);
    if (text.empty()) {
        std::fprintf(stderr, "kwregsvr: %s: %s\n", path.c_str(), error.c_str());
        return kLoadFailed;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kOk;
}

} // namespace

int main(int argc, char** argv) {
    bool unregister = false, silent = false, list = false, reference = false;
    const char* module = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!std::strcmp(arg, "-u") || !std::strcmp(arg, "/u"))
            unregister = true;
        else if (!std::strcmp(arg, "-s") || !std::strcmp(arg, "/s"))
            silent = true;
        else if (!std::strcmp(arg, "--list"))
            list = true;
        else if (!std::strcmp(arg, "--reference"))
            reference = true;
        else if (arg[0] == '-' || module) {
            PrintUsage();
            return kBadArguments;
        } else
            module = arg;
    }
    if (list)
        return PrintRegistrations(module ? AbsolutePath(module) : std::string()) ? kOk
                                                                                 : kLoadFailed;
    if (!module) {
        PrintUsage();
        return kBadArguments;
    }
    if (reference)
        return WriteReference(AbsolutePath(module));
    return CallEntryPoint(AbsolutePath(module), unregister, silent);
}
