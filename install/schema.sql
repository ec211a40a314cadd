-- The empty inventory database, home/inv.inv, made from this file at build
-- time. The program never creates it.
PRAGMA user_version = 1;

CREATE TABLE tblItems (
    ID            INTEGER PRIMARY KEY AUTOINCREMENT,
    ItemID        TEXT NOT NULL UNIQUE,
    ItemName      TEXT,
    SN            TEXT,
    Model         TEXT,
    RoomName      TEXT,
    Cost          REAL,
    CurValue      REAL,
    BuyDate       TEXT,
    AccquiredFrom TEXT,
    Description   TEXT,
    Notes         TEXT,
    AddDate       TEXT,
    ModDate       TEXT
);

CREATE TABLE tblOwner (
    OwnerID  TEXT NOT NULL UNIQUE,
    LName    TEXT,
    FName    TEXT,
    MName    TEXT,
    FullName TEXT,
    Address  TEXT,
    City     TEXT,
    State    TEXT,
    Zip      TEXT,
    AddDate  TEXT,
    ModDate  TEXT
);
