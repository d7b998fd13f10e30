// Adds every file named on standard input to a source list and reports how long AddSourceFiles took.
// Prints "seconds <elapsed>" and then one "<duration cell>\t<path>" line per row; driven by bench/probe.
#include "SourceTreeList.h"
#include "Unit_CommonLib.h"

#include <QApplication>
#include <QElapsedTimer>

#include <clocale>
#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    TStringList paths;
    for (std::string line; std::getline(std::cin, line);)
        if (!line.empty()) paths.push_back(line);

    TCommonLib lib;
    TSourceTreeList list;
    QElapsedTimer clock;
    clock.start();
    lib.AddSourceFiles(&list, paths);
    const double seconds = double(clock.nsecsElapsed()) / 1e9;

    std::printf("seconds %.6f\n", seconds);
    for (int i = 0; i < list.RowCount(); ++i)
        std::printf("%s\t%s\n", TSourceTreeList::Cell(list.Row(i), TSourceTreeList::colDuration).c_str(),
                    TSourceTreeList::Cell(list.Row(i), TSourceTreeList::colFileName).c_str());
    return list.RowCount() == int(paths.size()) ? 0 : 1;
}
