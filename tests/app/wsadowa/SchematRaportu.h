#pragma once
// A report checked against docs/raport.schema.json by a JSON Schema validator of its own
// (Debian's python3-jsonschema, Draft 2020-12, under the system's Python), not by the library
// that writes it.

#include <cstdio>
#include <string>

// What the validator says of the report in `plik`: empty when it is valid.
inline std::string BledySchematu(const std::string& plik) {
    const std::string polecenie =
        "/usr/bin/python3 -c 'import json, sys, jsonschema\n"
        "schemat = json.load(open(sys.argv[1], encoding=\"utf-8\"))\n"
        "jsonschema.Draft202012Validator.check_schema(schemat)\n"
        "raport = json.load(open(sys.argv[2], encoding=\"utf-8\"))\n"
        "bledy = [b.message + \" w \" + str(list(b.absolute_path)) for b in "
        "jsonschema.Draft202012Validator(schemat).iter_errors(raport)]\n"
        "print(\"\\n\".join(bledy), end=\"\")' " ZUV_SCHEMAT_RAPORTU " '" +
        plik + "' 2>&1";
    std::string wynik;
    FILE* potok = popen(polecenie.c_str(), "r");
    if (potok == nullptr) return "popen";
    char bufor[512];
    while (std::fgets(bufor, sizeof bufor, potok) != nullptr) wynik += bufor;
    if (pclose(potok) != 0 && wynik.empty()) wynik = "python3 nie zadziałał";
    return wynik;
}
