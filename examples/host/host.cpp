// A host of the tavelin model library: it derives its own manager, gives
// it a compiled-model folder and a source index, asks for a component
// (compiled on demand), prints the component's pins and the simulation
// model listing of one pin.
//
//   tavelin_host CBXDIR SOURCE.idx COMPONENT PIN
#include <tavelin/tavelin.h>

#include <cstdio>
#include <iostream>

namespace {

// The host's manager: it registers its source index and tells the user
// how each compile went.
class HostLibrary : public CIbisCompMdls {
public:
    int UseIndex(const char* pszPath) { return AddSrcIndex(pszPath, "host") && SetSearchPaths(1); }

    void DisplayCompileStatus(eRdIbisResult result) override {
        std::cerr << "compiled with result " << result << ", log in " << GetCompileLogPath() << '\n';
    }
};

void PrintPins(CIbisCompInfo* pInfo) {
    for (int nPin = 0; nPin < pInfo->GetPinCount(); ++nPin) {
        const char* pszPin = "";
        const char* pszSignal = "";
        int nType = 0;
        pInfo->GetModelParam(eIbisPrmPinName, &pszPin, nPin, 1);
        pInfo->GetModelParam(eIbisPrmSignalName, &pszSignal, nPin, 1);
        pInfo->GetModelParam(eIbisPrmModelType, &nType, nPin);
        std::cout << pszPin << ' ' << pszSignal << ' ' << CIbisCompInfo::GetModelTypeText(nType)
                  << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: tavelin_host CBXDIR SOURCE.idx COMPONENT PIN\n";
        return 2;
    }
    HostLibrary library;
    library.Init(argv[1]);
    library.UseIndex(argv[2]);
    eRdIbisResult result = eRdIbisNothing;
    CIbisCompInfo* pInfo = library.GetIbisCompInfo(argv[3], &result, 0);
    if (pInfo == nullptr || !pInfo->IsStatusOk()) {
        std::cerr << argv[3] << ": "
                  << (pInfo ? CIbisCompInfo::GetIbisStatusText(pInfo->GetStatus()) : "no record")
                  << '\n';
        library.Fini(1);
        return 1;
    }
    PrintPins(pInfo);
    const int nPin = pInfo->FindIndex4Pin(argv[4], eIbisPrmPinName);
    const int nListed = nPin >= 0 && pInfo->ListSimModel(std::cout, nPin, argv[4], 1, eTyp, 0);
    return library.Fini(1) && nListed ? 0 : 1;
}
