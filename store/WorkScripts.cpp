#include "WorkScripts.h"

namespace marubo::store {

// The work folder's tables, in the order they are created; every statement has
// the if-not-exists rule, so running the script again changes nothing.
QString workFolderScript() {
    return QStringLiteral(R"SQL(/* SQL-92 Table Creation Script with DBISAM Extensions */

CREATE TABLE IF NOT EXISTS "BUMON"
(
   "code" INTEGER,
   "Bumonmei" VARCHAR(40),
   "Path" VARCHAR(200),
   "F1" INTEGER,
   "F2" INTEGER,
   "F3" INTEGER,
   "F4" INTEGER,
   "F5" INTEGER,
   "F6" INTEGER,
   "F7" INTEGER,
   "F8" INTEGER,
   "F9" INTEGER,
   "F10" INTEGER,
   "F11" INTEGER,
   "F12" INTEGER,
   "F13" INTEGER,
   "F14" INTEGER,
   "F15" INTEGER,
   "S1" VARCHAR(10),
   "S2" VARCHAR(10),
   "S3" VARCHAR(10),
   "S4" VARCHAR(10),
   "S5" VARCHAR(10),
PRIMARY KEY ("code")
);

CREATE TABLE IF NOT EXISTS "denpyou1"
(
   "SNo" INTEGER,
   "Sub_No" INTEGER,
   "hizuke" DATE,
   "Lcode" VARCHAR(5),
   "Rcode" VARCHAR(5),
   "LHcode" VARCHAR(3),
   "RHcode" VARCHAR(3),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "tekiyou1" VARCHAR(40),
   "tekiyou2" VARCHAR(40),
   "LflgS" SMALLINT,
   "RflgS" SMALLINT,
   "FlgT" SMALLINT,
   "FlgU" SMALLINT,
   "FlgV" SMALLINT,
   "FlgW" SMALLINT,
PRIMARY KEY ("SNo","Sub_No","FlgT") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "hizuke" ON "denpyou1" ("hizuke","SNo","Sub_No");

CREATE TABLE IF NOT EXISTS "denpyou1B"
(
   "SNo" INTEGER,
   "Sub_No" INTEGER,
   "hizuke" DATE,
   "Lcode" VARCHAR(5),
   "Rcode" VARCHAR(5),
   "LHcode" VARCHAR(3),
   "RHcode" VARCHAR(3),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "tekiyou1" VARCHAR(40),
   "tekiyou2" VARCHAR(40),
   "LflgS" SMALLINT,
   "RflgS" SMALLINT,
   "FlgT" SMALLINT,
   "FlgU" SMALLINT,
   "FlgV" SMALLINT,
   "FlgW" SMALLINT,
PRIMARY KEY ("SNo","Sub_No","FlgT") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "hizuke" ON "denpyou1B" ("hizuke","SNo","Sub_No");

CREATE TABLE IF NOT EXISTS "DMem"
(
   "GID" INTEGER,
   "SNo" INTEGER,
   "Sub_No" INTEGER,
   "hizuke" DATE,
   "Lcode" VARCHAR(5),
   "Rcode" VARCHAR(5),
   "LHcode" VARCHAR(3),
   "RHcode" VARCHAR(3),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "tekiyou1" VARCHAR(40),
   "tekiyou2" VARCHAR(40),
   "LflgS" SMALLINT,
   "RflgS" SMALLINT,
   "FlgT" SMALLINT,
   "FlgU" SMALLINT,
   "FlgV" SMALLINT,
   "FlgW" SMALLINT,
   "Lkamoku" VARCHAR(40),
   "Rkamoku" VARCHAR(40),
   "LHkamoku" VARCHAR(20),
   "RHkamoku" VARCHAR(20),
   "Bumonmei" VARCHAR(20),
PRIMARY KEY ("GID","SNo","Sub_No") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "hizuke" ON "DMem" ("hizuke");

CREATE TABLE IF NOT EXISTS "DMemH"
(
   "GID" INTEGER,
   "ID" INTEGER,
   "Name" VARCHAR(20),
PRIMARY KEY ("GID","ID") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "Fkihonkin"
(
   "code" INTEGER,
   "Subcode" INTEGER,
   "Pkubun" VARCHAR(40),
   "tekiyou1" VARCHAR(40),
   "kingaku" MONEY,
   "hizuke" DATE,
   "FlgH" VARCHAR(3),
   "FlgT" INTEGER,
PRIMARY KEY ("code","Subcode") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "Head"
(
   "法人名" VARCHAR(100),
   "施設名" VARCHAR(40),
   "代表者" VARCHAR(20),
   "郵便番号" VARCHAR(10),
   "住所" VARCHAR(40),
   "電話" VARCHAR(15),
   "PM1" INTEGER,
   "PM2" INTEGER,
   "PM3" INTEGER,
   "PM4" INTEGER,
   "PM5" INTEGER,
   "会計期首" DATE,
   "自期日" DATE,
   "至期日" DATE,
   "PassWord" VARCHAR(10),
   "PathName1" VARCHAR(30),
   "PathName2" VARCHAR(30),
   "職印１" VARCHAR(12),
   "職印２" VARCHAR(12),
   "職印３" VARCHAR(12),
   "職印４" VARCHAR(12),
   "職印５" VARCHAR(12),
   "開始科目code" VARCHAR(5),
   "開始科目名" VARCHAR(40),
   "終了科目code" VARCHAR(5),
   "終了科目名" VARCHAR(40),
   "開始補助code1" VARCHAR(5),
   "開始補助code2" VARCHAR(3),
   "終了補助code1" VARCHAR(5),
   "終了補助code2" VARCHAR(3),
   "K1" VARCHAR(40),
   "K2" VARCHAR(20),
   "K3" VARCHAR(40),
   "K4" VARCHAR(20),
   "chk0" BOOLEAN,
   "chk1" BOOLEAN,
   "chk2" BOOLEAN,
   "chk3" BOOLEAN,
   "chk4" BOOLEAN,
   "chk5" BOOLEAN,
PRIMARY KEY ("RecordID") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "hojokamoku"
(
   "kamoku_CD" VARCHAR(5),
   "hojo_CD" VARCHAR(3),
   "補助科目名" VARCHAR(20),
   "予算" MONEY,
   "期首繰越" MONEY,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高" MONEY,
   "残高合計" MONEY,
   "差異" MONEY,
   "比" FLOAT,
PRIMARY KEY ("kamoku_CD","hojo_CD") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "InputMoto"
(
   "SNo" INTEGER,
   "Sub_No" INTEGER,
   "hizuke" DATE,
   "ACode" VARCHAR(5),
   "AHCode" VARCHAR(3),
   "BCode" VARCHAR(5),
   "BHcode" VARCHAR(3),
   "Okingaku" MONEY,
   "Ikingaku" MONEY,
   "tekiyou1" VARCHAR(40),
   "tekiyou2" VARCHAR(40),
   "LflgS" SMALLINT,
   "RflgS" SMALLINT,
   "FlgT" SMALLINT,
   "FlgU" SMALLINT,
   "FlgV" SMALLINT,
   "FlgW" SMALLINT,
PRIMARY KEY ("SNo","Sub_No") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "kamoku"
(
   "code" VARCHAR(5),
   "科目名" VARCHAR(40),
   "FlgA" SMALLINT,
   "FlgB" SMALLINT,
   "FlgC" SMALLINT,
   "FlgD" SMALLINT,
   "FlgE" SMALLINT,
   "FlgF" SMALLINT,
   "FlgG" SMALLINT,
   "FlgH" SMALLINT,
   "FlgI" SMALLINT,
   "FlgJ" SMALLINT,
   "FlgK" SMALLINT,
   "FlgL" SMALLINT,
   "FlgAN" SMALLINT,
   "当初予算" MONEY,
   "補正額１" MONEY,
   "補正額２" MONEY,
   "補正額３" MONEY,
   "補正額４" MONEY,
   "補正額５" MONEY,
   "予算" MONEY,
   "前年度予算" MONEY,
   "予算増減額" MONEY,
   "期首繰越" MONEY,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高" MONEY,
   "残高合計" MONEY,
   "差異" MONEY,
   "比" FLOAT,
   "次年度予算" MONEY,
   "予算増減額２" MONEY,
   "注記" VARCHAR(40),
   "注記２" VARCHAR(40),
   "前年実績" MONEY,
   "差異２" MONEY,
   "実績比" FLOAT,
   "SNo" INTEGER,
PRIMARY KEY ("code") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "FlgCBcode" ON "kamoku" ("FlgC","FlgB","code");

CREATE INDEX IF NOT EXISTS "FlgCBH" ON "kamoku" ("FlgC","FlgB","FlgH");

CREATE TABLE IF NOT EXISTS "kamoku2"
(
   "SNo" INTEGER,
   "科目名" VARCHAR(40),
   "FlgA" SMALLINT,
   "FlgB" SMALLINT,
   "FlgC" SMALLINT,
   "FlgD" SMALLINT,
   "FlgE" SMALLINT,
   "FlgF" SMALLINT,
   "FlgG" SMALLINT,
   "FlgH" SMALLINT,
   "FlgI" SMALLINT,
   "FlgJ" SMALLINT,
   "FlgK" SMALLINT,
   "FlgL" SMALLINT,
   "FlgAN" SMALLINT,
   "当初予算" MONEY,
   "補正額１" MONEY,
   "補正額２" MONEY,
   "補正額３" MONEY,
   "補正額４" MONEY,
   "補正額５" MONEY,
   "予算" MONEY,
   "前年度予算" MONEY,
   "予算増減額" MONEY,
   "期首繰越" MONEY,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高" MONEY,
   "残高合計" MONEY,
   "差異" MONEY,
   "比" FLOAT,
   "次年度予算" MONEY,
   "予算増減額２" MONEY,
   "注記" VARCHAR(40),
   "注記２" VARCHAR(40),
   "code" VARCHAR(5),
PRIMARY KEY ("SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "FlgCBcode" ON "kamoku2" ("FlgC","FlgB","SNo");

CREATE INDEX IF NOT EXISTS "CCode" ON "kamoku2" ("FlgC","code");

CREATE INDEX IF NOT EXISTS "FlgH" ON "kamoku2" ("FlgH");

CREATE TABLE IF NOT EXISTS "kessansyo1"
(
   "SNo" INTEGER,
   "Lcode" VARCHAR(5),
   "Lkamoku" VARCHAR(40),
   "Lkin1" MONEY,
   "Lkin2" MONEY,
   "Lkin3" MONEY,
   "Lkin4" MONEY,
   "Rcode" VARCHAR(5),
   "Rkamoku" VARCHAR(40),
   "Rkin1" MONEY,
   "Rkin2" MONEY,
   "Rkin3" MONEY,
   "Rkin4" MONEY,
   "LflgA" SMALLINT,
   "LflgB" SMALLINT,
   "LflgC" SMALLINT,
   "LflgD" SMALLINT,
   "LflgE" SMALLINT,
   "LflgF" SMALLINT,
   "RflgA" SMALLINT,
   "RflgB" SMALLINT,
   "RflgC" SMALLINT,
   "RflgD" SMALLINT,
   "RflgE" SMALLINT,
   "RflgF" SMALLINT,
PRIMARY KEY ("SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "meisaiS"
(
   "code" VARCHAR(5),
   "hcode" VARCHAR(5),
   "科目名" VARCHAR(40),
   "補助科目名" VARCHAR(20),
   "FlgA" INTEGER,
   "FlgB" INTEGER,
   "FlgC" INTEGER,
   "FlgG" INTEGER,
   "FlgH" INTEGER,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高合計" MONEY,
   "補助科目残高" MONEY,
PRIMARY KEY ("code","hcode") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "Mkamoku"
(
   "B_ID" SMALLINT,
   "code" VARCHAR(5),
   "科目名" VARCHAR(40),
   "FlgA" SMALLINT,
   "FlgB" SMALLINT,
   "FlgC" SMALLINT,
   "FlgD" SMALLINT,
   "FlgE" SMALLINT,
   "FlgF" SMALLINT,
   "FlgG" SMALLINT,
   "FlgH" SMALLINT,
   "FlgI" SMALLINT,
   "FlgJ" SMALLINT,
   "FlgK" SMALLINT,
   "FlgL" SMALLINT,
   "FlgAN" SMALLINT,
   "当初予算" MONEY,
   "補正額１" MONEY,
   "補正額２" MONEY,
   "補正額３" MONEY,
   "補正額４" MONEY,
   "補正額５" MONEY,
   "予算" MONEY,
   "前年度予算" MONEY,
   "予算増減額" MONEY,
   "期首繰越" MONEY,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高" MONEY,
   "残高合計" MONEY,
   "差異" MONEY,
   "比" FLOAT,
   "次年度予算" MONEY,
   "予算増減額２" MONEY,
   "注記" VARCHAR(40),
   "注記２" VARCHAR(40),
   "前年実績" MONEY,
   "差異２" MONEY,
   "実績比" FLOAT,
   "SNo" INTEGER,
PRIMARY KEY ("B_ID","code") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "FlgCBcode" ON "Mkamoku" ("B_ID","FlgC","FlgB","code");

CREATE TABLE IF NOT EXISTS "Mkamoku2"
(
   "B_ID" SMALLINT,
   "SNo" INTEGER,
   "科目名" VARCHAR(40),
   "FlgA" SMALLINT,
   "FlgB" SMALLINT,
   "FlgC" SMALLINT,
   "FlgD" SMALLINT,
   "FlgE" SMALLINT,
   "FlgF" SMALLINT,
   "FlgG" SMALLINT,
   "FlgH" SMALLINT,
   "FlgI" SMALLINT,
   "FlgJ" SMALLINT,
   "FlgK" SMALLINT,
   "FlgL" SMALLINT,
   "FlgAN" SMALLINT,
   "当初予算" MONEY,
   "補正額１" MONEY,
   "補正額２" MONEY,
   "補正額３" MONEY,
   "補正額４" MONEY,
   "補正額５" MONEY,
   "予算" MONEY,
   "前年度予算" MONEY,
   "予算増減額" MONEY,
   "期首繰越" MONEY,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高" MONEY,
   "残高合計" MONEY,
   "差異" MONEY,
   "比" FLOAT,
   "次年度予算" MONEY,
   "予算増減額２" MONEY,
   "注記" VARCHAR(40),
   "注記２" VARCHAR(40),
   "code" VARCHAR(5),
PRIMARY KEY ("B_ID","SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "FlgCBcode" ON "Mkamoku2" ("B_ID","FlgC","FlgB","SNo");

CREATE INDEX IF NOT EXISTS "CCode" ON "Mkamoku2" ("B_ID","FlgC","code");

CREATE TABLE IF NOT EXISTS "TEKIYOU"
(
   "code1" VARCHAR(5),
   "code2" VARCHAR(5),
   "RenNo" SMALLINT,
   "摘要名" VARCHAR(60),
   "BMNFlg" SMALLINT,
PRIMARY KEY ("code1","code2","RenNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "utiwake"
(
   "code" VARCHAR(5),
   "科目名" VARCHAR(40),
   "FlgA" INTEGER,
   "FlgB" INTEGER,
   "FlgC" INTEGER,
   "部門00" MONEY,
   "部門10" MONEY,
   "部門20" MONEY,
   "部門30" MONEY,
   "部門40" MONEY,
PRIMARY KEY ("RecordID") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "utiwake2"
(
   "code" VARCHAR(5),
   "科目名" VARCHAR(40),
   "FlgA" INTEGER,
   "FlgB" INTEGER,
   "FlgC" INTEGER,
   "部門00" MONEY,
   "部門10" MONEY,
   "部門20" MONEY,
   "部門30" MONEY,
   "部門40" MONEY,
   "部門01" MONEY,
   "部門11" MONEY,
   "部門21" MONEY,
   "部門31" MONEY,
   "部門41" MONEY,
   "部門02" MONEY,
   "部門12" MONEY,
   "部門22" MONEY,
   "部門32" MONEY,
   "部門42" MONEY,
   "SNo" INTEGER,
PRIMARY KEY ("RecordID") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "wdenpyo"
(
   "SNo" INTEGER,
   "Sub_No" INTEGER,
   "hizuke" DATE,
   "Lcode" VARCHAR(5),
   "Rcode" VARCHAR(5),
   "LHcode" VARCHAR(3),
   "RHcode" VARCHAR(3),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "tekiyou1" VARCHAR(40),
   "tekiyou2" VARCHAR(40),
   "LflgS" SMALLINT,
   "RflgS" SMALLINT,
   "FlgT" SMALLINT,
   "FlgU" SMALLINT,
   "FlgV" SMALLINT,
   "FlgW" SMALLINT,
   "Lkamokumei" VARCHAR(40),
   "Rkamokumei" VARCHAR(40),
   "LHkamokumei" VARCHAR(20),
   "RHkamokumei" VARCHAR(20),
   "chkmdy" BOOLEAN,
PRIMARY KEY ("SNo","Sub_No") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "hizuke" ON "wdenpyo" ("hizuke","SNo","Sub_No");

CREATE TABLE IF NOT EXISTS "WK05"
(
   "kamoku_ID" INTEGER,
   "kamokumei" VARCHAR(40),
   "FlgA" INTEGER,
   "FlgB" INTEGER,
   "FlgC" INTEGER,
   "FlgH" INTEGER,
   "kin1" MONEY,
   "kin2" MONEY,
   "kin3" MONEY,
   "kin4" MONEY,
   "kin5" MONEY,
   "kin6" MONEY,
PRIMARY KEY ("kamoku_ID") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "wkdenpyo"
(
   "SNo" INTEGER,
   "Sub_No" FLOAT,
   "Hizuke" DATE,
   "Lcode" CHAR(5),
   "Rcode" CHAR(5),
   "LHcode" CHAR(3),
   "RHcode" CHAR(3),
   "Lkamoku" CHAR(40),
   "Rkamoku" CHAR(40),
   "LHkamoku" CHAR(20),
   "RHkamoku" CHAR(20),
   "LKingaku" MONEY,
   "RKingaku" MONEY,
   "tekiyou1" CHAR(40),
   "tekiyou2" CHAR(40),
   "LflgF" INTEGER,
   "RflgF" INTEGER,
   "LflgS" INTEGER,
   "RflgS" INTEGER,
   "LkubunS" CHAR(10),
   "RkubunS" CHAR(10),
   "flgT" INTEGER,
   "flgU" INTEGER,
   "flgV" INTEGER,
   "flgW" INTEGER,
   "flgBumon" INTEGER,
   "Bumonmei" CHAR(20),
   "naitoriBumonmei" CHAR(20),
PRIMARY KEY ("SNo","Sub_No") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WKTBL"
(
   "SNo" INTEGER,
   "kamokumei" VARCHAR(40),
   "FlgA" INTEGER,
   "FlgB" INTEGER,
   "FlgC" INTEGER,
   "FlgD" INTEGER,
   "FlgE" INTEGER,
   "FlgF" INTEGER,
   "FlgG" INTEGER,
   "FlgH" INTEGER,
   "kin1" MONEY,
   "kin2" MONEY,
   "kin3" MONEY,
   "kin4" MONEY,
   "Memo" VARCHAR(50),
PRIMARY KEY ("SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WKTBL0"
(
   "renNo" SMALLINT,
   "code1" VARCHAR(5),
   "F" SMALLINT,
PRIMARY KEY ("renNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WKTBL1"
(
   "code1" VARCHAR(5),
   "renNo" SMALLINT,
   "code2" VARCHAR(5),
   "F" SMALLINT,
PRIMARY KEY ("code1","renNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "Wktbl4"
(
   "tekiyoumei" VARCHAR(40),
   "kurikoshi" MONEY,
   "Lkin" MONEY,
   "Rkin" MONEY,
   "zandaka" MONEY,
   "kensu" INTEGER,
PRIMARY KEY ("tekiyoumei") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WTBL"
(
   "code" VARCHAR(5),
   "kamoku" VARCHAR(40),
   "FlgA" INTEGER,
   "FlgB" INTEGER,
   "FlgC" INTEGER,
   "FlgE" INTEGER,
   "codeL" VARCHAR(5),
   "kamokuL" VARCHAR(40),
   "codeR" VARCHAR(5),
   "kamokuR" VARCHAR(40),
PRIMARY KEY ("code") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WTBL10"
(
   "SNo" AUTOINC,
   "BumonCD" INTEGER,
   "denpyoNo" INTEGER,
   "denpyoSub" INTEGER,
   "LkamokuCD" VARCHAR(14),
   "RkamokuCD" VARCHAR(14),
   "LHkamokuCD" VARCHAR(14),
   "RHkamokuCD" VARCHAR(14),
   "hizuke" DATE,
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "Memo" VARCHAR(20),
PRIMARY KEY ("SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WTBL2"
(
   "SNo" INTEGER,
   "Denpyou_No" INTEGER,
   "hizuke" DATE,
   "tekiyou1" VARCHAR(50),
   "tekiyou2" VARCHAR(50),
   "Ahojokamoku" VARCHAR(20),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "zandaka" MONEY,
   "aitekamoku" VARCHAR(40),
   "aiteCode" VARCHAR(5),
   "Bhojokamoku" VARCHAR(20),
   "Flg" SMALLINT,
   "Sub_No" SMALLINT,
   "Bumonmei" VARCHAR(14),
   "zei" VARCHAR(10),
PRIMARY KEY ("RecordID") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WTBL2B"
(
   "Code" INTEGER,
   "SNo" INTEGER,
   "kamoku" VARCHAR(40),
   "Denpyou_No" INTEGER,
   "denpyou_Sub" INTEGER,
   "hizuke" DATE,
   "tekiyou1" VARCHAR(82),
   "tekiyou2" VARCHAR(40),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "zandaka" MONEY,
   "aiteCode" VARCHAR(5),
   "aitekamoku" VARCHAR(40),
   "FlgC" INTEGER,
PRIMARY KEY ("Code","SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "WTBL8"
(
   "SNo1" INTEGER,
   "SNo2" INTEGER,
   "Sub_No" INTEGER,
   "hizuke" DATE,
   "Lcode" VARCHAR(5),
   "Rcode" VARCHAR(5),
   "LHcode" VARCHAR(3),
   "RHcode" VARCHAR(3),
   "Lkamoku" VARCHAR(40),
   "Rkamoku" VARCHAR(40),
   "LHkamoku" VARCHAR(20),
   "RHkamoku" VARCHAR(20),
   "Lkingaku" MONEY,
   "Rkingaku" MONEY,
   "tekiyou1" VARCHAR(40),
   "tekiyou2" VARCHAR(40),
   "Bumonmei" VARCHAR(40),
   "LflgS" SMALLINT,
   "RflgS" SMALLINT,
   "FlgT" SMALLINT,
   "FlgU" SMALLINT,
   "FlgV" SMALLINT,
   "FlgW" SMALLINT,
PRIMARY KEY ("SNo1","SNo2","Sub_No") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE INDEX IF NOT EXISTS "hizuke" ON "WTBL8" ("hizuke");

CREATE TABLE IF NOT EXISTS "WTBL9"
(
   "SNo" INTEGER,
   "Lcode" VARCHAR(5),
   "Lkamoku" VARCHAR(40),
   "Lkin1" MONEY,
   "Lkin2" MONEY,
   "Lkin3" MONEY,
   "Lkin4" MONEY,
   "Rcode" VARCHAR(5),
   "Rkamoku" VARCHAR(40),
   "Rkin1" MONEY,
   "Rkin2" MONEY,
   "Rkin3" MONEY,
   "Rkin4" MONEY,
   "LflgA" SMALLINT,
   "LflgB" SMALLINT,
   "LflgC" SMALLINT,
   "LflgD" SMALLINT,
   "LflgE" SMALLINT,
   "LflgF" SMALLINT,
   "RflgA" SMALLINT,
   "RflgB" SMALLINT,
   "RflgC" SMALLINT,
   "RflgD" SMALLINT,
   "RflgE" SMALLINT,
   "RflgF" SMALLINT,
PRIMARY KEY ("SNo") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);

CREATE TABLE IF NOT EXISTS "Mhojokamoku"
(
   "B_ID" SMALLINT,
   "kamoku_CD" VARCHAR(5),
   "hojo_CD" VARCHAR(3),
   "補助科目名" VARCHAR(20),
   "予算" MONEY,
   "期首繰越" MONEY,
   "前残高" MONEY,
   "借方" MONEY,
   "貸方" MONEY,
   "残高" MONEY,
   "残高合計" MONEY,
   "差異" MONEY,
   "比" FLOAT,
PRIMARY KEY ("B_ID","kamoku_CD","hojo_CD") COMPRESS NONE
LOCALE CODE 0
USER MAJOR VERSION 1
);
)SQL");
}

QString headMScript() {
    return QStringLiteral(R"SQL(/* SQL-92 Table Creation Script with DBISAM Extensions */

CREATE TABLE IF NOT EXISTS "HeadM"
(
   "PathName1" CHARACTER(100),
   "PathName2" CHARACTER(100)
);
)SQL");
}

} // namespace marubo::store
