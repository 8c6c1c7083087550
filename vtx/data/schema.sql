-- System Database: every table and column the detector configuration tool reads or writes.
-- Text keys compare exactly (case-sensitive). Yes/No columns are declared BOOLEAN and hold
-- 1 and 0, so that "= True" and "= False" work in queries.
-- [Available FilterPlacement] has no index on purpose: its queries must list rows in the
-- order they were written (table order), and an index would make them list in index order.

CREATE TABLE [System Versions] (
    [Version Name] TEXT,
    [Release Date] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available Systems] (
    [ID Available] TEXT PRIMARY KEY,
    [ID Scan Unit] TEXT,
    [ID FCS Unit] TEXT,
    [ID Stand] TEXT,
    [VTX] BOOLEAN NOT NULL DEFAULT 0,
    [Serial No] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available Point Detectors] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Detector Type] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available DIOs] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Control] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available DACs] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Control Voltage] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available High Voltage Supplies] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available Integrators] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available Interfaces] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Version] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available Lamps] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available Shutters] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available FilterSets] (
    [ID Available] TEXT PRIMARY KEY,
    [Status] TEXT,
    [Control Position] TEXT,
    [Summary] TEXT
);

CREATE TABLE [Available FilterPlacement] (
    [ID Available] TEXT NOT NULL,
    [Position] INTEGER NOT NULL,
    [ID Potential] TEXT NOT NULL DEFAULT 'None',
    [Not Include] BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE [Potential Filters] (
    [ID Potential] TEXT PRIMARY KEY,
    [Type] TEXT,
    [Spectral Type] TEXT,
    [Summary] TEXT,
    [Producer] TEXT,
    [Halvern Code No] TEXT,
    [Lower Wavelength] REAL,
    [Center Wavelength] REAL,
    [Upper Wavelength] REAL,
    [Customer Added] BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE [Favourite Filters] (
    [ID Potential] TEXT,
    [Type] TEXT
);
