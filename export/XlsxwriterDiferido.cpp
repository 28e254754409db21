// libxlsxwriter, loaded when a spreadsheet is first written (see BibliotecaDiferida): it brings
// OpenSSL's libcrypto with it, which alone cost a twelfth of the time to the first window.
// Without the library no workbook can be made, so the write fails as one that cannot create its
// file; the rest is never reached then.
#include "BibliotecaDiferida.h"

#include <xlsxwriter.h>

namespace {

BibliotecaDiferida& Biblioteca() {
    static BibliotecaDiferida b(QStringLiteral("xlsxwriter"), 4, QStringLiteral("xlsxwriter"));
    return b;
}

} // namespace

#define XLSX(funcion) QUIMBEL_DIFERIDA(Biblioteca(), funcion)

extern "C" {

lxw_workbook* workbook_new(const char* filename) {
    XLSX(workbook_new);
    return f ? f(filename) : nullptr;
}

lxw_error workbook_close(lxw_workbook* workbook) {
    XLSX(workbook_close);
    return f ? f(workbook) : LXW_ERROR_CREATING_XLSX_FILE;
}

lxw_worksheet* workbook_add_worksheet(lxw_workbook* workbook, const char* sheetname) {
    XLSX(workbook_add_worksheet);
    return f ? f(workbook, sheetname) : nullptr;
}

lxw_format* workbook_add_format(lxw_workbook* workbook) {
    XLSX(workbook_add_format);
    return f ? f(workbook) : nullptr;
}

void format_set_bold(lxw_format* format) {
    XLSX(format_set_bold);
    if (f)
        f(format);
}

void format_set_num_format(lxw_format* format, const char* num_format) {
    XLSX(format_set_num_format);
    if (f)
        f(format, num_format);
}

char* lxw_strerror(lxw_error error_num) {
    XLSX(lxw_strerror);
    return f ? f(error_num) : const_cast<char*>("");
}

lxw_error worksheet_autofilter(lxw_worksheet* worksheet, lxw_row_t first_row, lxw_col_t first_col,
                               lxw_row_t last_row, lxw_col_t last_col) {
    XLSX(worksheet_autofilter);
    return f ? f(worksheet, first_row, first_col, last_row, last_col)
             : LXW_ERROR_CREATING_XLSX_FILE;
}

void worksheet_freeze_panes(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col) {
    XLSX(worksheet_freeze_panes);
    if (f)
        f(worksheet, row, col);
}

lxw_error worksheet_set_column(lxw_worksheet* worksheet, lxw_col_t first_col, lxw_col_t last_col,
                               double width, lxw_format* format) {
    XLSX(worksheet_set_column);
    return f ? f(worksheet, first_col, last_col, width, format) : LXW_ERROR_CREATING_XLSX_FILE;
}

lxw_error worksheet_write_boolean(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col, int value,
                                  lxw_format* format) {
    XLSX(worksheet_write_boolean);
    return f ? f(worksheet, row, col, value, format) : LXW_ERROR_CREATING_XLSX_FILE;
}

lxw_error worksheet_write_datetime(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col,
                                   lxw_datetime* datetime, lxw_format* format) {
    XLSX(worksheet_write_datetime);
    return f ? f(worksheet, row, col, datetime, format) : LXW_ERROR_CREATING_XLSX_FILE;
}

lxw_error worksheet_write_number(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col,
                                 double number, lxw_format* format) {
    XLSX(worksheet_write_number);
    return f ? f(worksheet, row, col, number, format) : LXW_ERROR_CREATING_XLSX_FILE;
}

lxw_error worksheet_write_string(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t col,
                                 const char* string, lxw_format* format) {
    XLSX(worksheet_write_string);
    return f ? f(worksheet, row, col, string, format) : LXW_ERROR_CREATING_XLSX_FILE;
}

} // extern "C"
