-- The host product's sales tables, as Miravel reads them.
CREATE TABLE vendedores (
  Clave varchar(10) NOT NULL PRIMARY KEY,
  Nombre varchar(60) NOT NULL DEFAULT ''
) ENGINE=InnoDB;

CREATE TABLE clientes (
  Clave varchar(10) NOT NULL PRIMARY KEY,
  Nombre varchar(80) NOT NULL DEFAULT '',
  Vendedor varchar(10) NULL,
  KEY Vendedor (Vendedor)
) ENGINE=InnoDB;

CREATE TABLE lineas (
  Id int NOT NULL PRIMARY KEY,
  Linea varchar(40) NULL
) ENGINE=InnoDB;

CREATE TABLE productos (
  Clave varchar(20) NOT NULL PRIMARY KEY,
  Descripcion varchar(80) NOT NULL DEFAULT '',
  Linea int NULL,
  KEY Linea (Linea)
) ENGINE=InnoDB;

CREATE TABLE facturas (
  Id int NOT NULL PRIMARY KEY,
  Fecha date NOT NULL,
  Cliente varchar(10) NULL,
  Vendedor varchar(10) NULL,
  Subtotal decimal(14,2) NOT NULL DEFAULT 0,
  IVA decimal(14,2) NOT NULL DEFAULT 0,
  ImpuestoAd decimal(14,2) NOT NULL DEFAULT 0,
  KEY Fecha (Fecha),
  KEY Vendedor (Vendedor)
) ENGINE=InnoDB;

CREATE TABLE facturasdetalle (
  Renglon int NOT NULL AUTO_INCREMENT PRIMARY KEY,
  Id int NOT NULL,
  Producto varchar(20) NOT NULL,
  Cantidad decimal(12,3) NOT NULL DEFAULT 0,
  PrecioNeto decimal(14,4) NOT NULL DEFAULT 0,
  IVA decimal(5,2) NOT NULL DEFAULT 0,
  KEY Id (Id)
) ENGINE=InnoDB;

CREATE TABLE remisiones LIKE facturas;
CREATE TABLE remisionesdetalle LIKE facturasdetalle;

CREATE TABLE devolucionctes (
  DevolucionCtes int NOT NULL PRIMARY KEY,
  Cliente varchar(10) NULL,
  Fecha date NOT NULL,
  Subtotal decimal(14,2) NOT NULL DEFAULT 0,
  IVA decimal(14,2) NOT NULL DEFAULT 0,
  ImpuestoAd decimal(14,2) NOT NULL DEFAULT 0,
  KEY Fecha (Fecha)
) ENGINE=InnoDB;

CREATE TABLE devolucionctesdet (
  Renglon int NOT NULL AUTO_INCREMENT PRIMARY KEY,
  DevolucionCtes int NOT NULL,
  Producto varchar(20) NOT NULL,
  Cantidad decimal(12,3) NOT NULL DEFAULT 0,
  Precio decimal(14,4) NOT NULL DEFAULT 0,
  IVA decimal(5,2) NOT NULL DEFAULT 0,
  KEY DevolucionCtes (DevolucionCtes)
) ENGINE=InnoDB;
