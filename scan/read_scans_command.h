#pragma once
// `zorventest --read-scans FILE… --out DIR [--group LIST.csv]`: every page of every file
// read without a window into DIR/scans.csv. Needs no display.

#include "paper/group_list.h"
#include "scan/scanned_page.h"

#include <QList>
#include <QStringList>

namespace zorven::scan {

// Page `page` (from 1) of `file` read again, images and boxes included: for a row of a
// scans.csv written before. Its file and page are set; its failure says why when the page
// cannot be had or read.
ScannedPage readPageOfFile(const QString &file, int page);

// Names each read page of a group's sheets by its list: surname, sex and age from the row
// its code gives. A row the list lacks, a row on two pages or a sheet without a row is
// named by nobody; its problem says why, for a person to settle.
void nameByList(QList<ScannedPage> &pages, const GroupList &list);

// The arguments as the command line passes them ("--read-scans", FILE, …, "--out", DIR,
// "--group", LIST). Returns the exit status: 0 every page read with nothing left to a
// person, 1 a page or a mark needs a person, 2 a wrong command line, a file or list that
// cannot be read, or a table that cannot be written.
int readScansCommand(const QStringList &arguments);

} // namespace zorven::scan
