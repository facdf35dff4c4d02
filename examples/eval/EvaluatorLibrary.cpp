#include "EvaluatorLibrary.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

#include <stdexcept>

namespace evalhost {

namespace {

template <class F>
void lookUp(const EvaluatorLibrary& library, F& entry, const char* name)
{
    entry = reinterpret_cast<F>(library.symbol(name));
}

} // namespace

EvaluatorLibrary::EvaluatorLibrary(const std::string& path) : _path(path)
{
    _handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (_handle == nullptr) {
        const char* why = dlerror();
        throw std::runtime_error(why != nullptr ? why : "cannot load " + path);
    }
    _main = reinterpret_cast<int (*)(std::uintptr_t*)>(symbol("main"));
    lookUp(*this, _entries.version, "DbgVersion");
    lookUp(*this, _entries.initialize, "DbgInitialize");
    lookUp(*this, _entries.terminate, "DbgTerminateRunTime");
    lookUp(*this, _entries.build, "DbgBuildExprIntRep");
    lookUp(*this, _entries.validate, "DbgValidateExpr");
    lookUp(*this, _entries.test, "DbgTestExpr");
    lookUp(*this, _entries.evaluate, "DbgEvaluateExpr");
    lookUp(*this, _entries.errorText, "DbgExtendedErrorInfo");
    lookUp(*this, _entries.rootNode, "DbgBuildRootNodeInfo");
    lookUp(*this, _entries.resultType, "DbgQueryResultType");
    lookUp(*this, _entries.format, "DbgFormatTreeValue2a");
    lookUp(*this, _entries.freeNode, "DbgFreeTreeNodeInfo");
    lookUp(*this, _entries.freeEvalResult, "DbgFreeEvalResultInfo");
    lookUp(*this, _entries.freeTypeResult, "DbgFreeTypeResultInfo");
    lookUp(*this, _entries.freeRepresentation, "DbgFreeExprIntRep");
}

EvaluatorLibrary::~EvaluatorLibrary()
{
    if (_handle != nullptr)
        dlclose(_handle);
}

void* EvaluatorLibrary::symbol(const char* name) const
{
    void* address = dlsym(_handle, name);
    if (address == nullptr)
        return nullptr;
    // dlsym also searches the library's dependencies: take only what the
    // library itself defines.
    Dl_info where{};
    struct link_map* map = nullptr;
    if (dladdr(address, &where) == 0 || where.dli_fname == nullptr
        || dlinfo(_handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr || map->l_name == nullptr)
        return nullptr;
    return std::strcmp(where.dli_fname, map->l_name) == 0 ? address : nullptr;
}

int EvaluatorLibrary::main()
{
    _table.assign(tableWords, 0);
    _table[0] = tableWords * sizeof(std::uintptr_t);
    return _main != nullptr ? _main(_table.data()) : -1;
}

} // namespace evalhost
