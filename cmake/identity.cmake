# Who and what the program is, in one place. The header the about box and start-up read,
# the Windows version record, the desktop entry, the AppStream metainfo and the Debian
# package are all made from these.
set(ZORVEN_VERSION 1.0.0.0)
set(ZORVEN_RELEASE_DATE 2026-12-08)
set(ZORVEN_PRODUCT_NAME "Тест Зорвена")
set(ZORVEN_COMMENT "Версия для обработки бланков")
# For menus and software centres: the name in English, and what the program does in both
# languages.
set(ZORVEN_PRODUCT_NAME_EN "Zorven Test")
set(ZORVEN_SUMMARY "Ввод и подсчёт бумажных бланков ответов опросника Зорвена")
set(ZORVEN_SUMMARY_EN "Key and score paper answer sheets of the Zorven questionnaire")
set(ZORVEN_MAKER_NAME "Лаборатория Зорвена")
set(ZORVEN_WEB_ADDRESS "https://zorven.example/")
# The maker's mail address, in the web address's domain: the Debian package's maintainer.
set(ZORVEN_MAKER_MAIL "zorventest@zorven.example")
# The AppStream component: the web address's host reversed, then the program.
set(ZORVEN_APP_ID example.zorven.zorventest)
