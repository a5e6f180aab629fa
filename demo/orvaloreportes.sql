-- The report database with the one template that the host product installs.
CREATE DATABASE IF NOT EXISTS orvaloreportes CHARACTER SET utf8mb4;
CREATE TABLE IF NOT EXISTS orvaloreportes.ventasxlinea (
  `Cliente` smallint(6) NOT NULL DEFAULT 0,
  `Linea1` double NOT NULL DEFAULT 0, `Linea2` double NOT NULL DEFAULT 0,
  `Linea3` double NOT NULL DEFAULT 0, `Linea4` double NOT NULL DEFAULT 0,
  `Linea5` double NOT NULL DEFAULT 0, `Linea6` double NOT NULL DEFAULT 0,
  `Linea7` double NOT NULL DEFAULT 0, `Linea8` double NOT NULL DEFAULT 0,
  `Linea9` double NOT NULL DEFAULT 0, `Linea10` double NOT NULL DEFAULT 0,
  `Linea11` double NOT NULL DEFAULT 0, `Linea12` double NOT NULL DEFAULT 0,
  KEY `Cliente` (`Cliente`)
) ENGINE=MyISAM;
