-- Demo System Database: a scan head with the four-channel detector module fitted, both
-- beam-splitter cubes in place, the filter wheel holding the splitter "VTX LP680", and a
-- catalogue of beam splitters and emission filters. Applied after schema.sql.

INSERT INTO [System Versions] VALUES ('2.10', '2004-03-15', 'Detector module VTX, filter wheel FW1');

INSERT INTO [Available Systems] VALUES
    ('CLS 8 VTX', 'Scan Head SH-4', 'None', 'Marvolan3q', 1, '2417-0093', 'Confocal scan system with detector module');

INSERT INTO [Available Point Detectors] VALUES
    ('PmtD',     '', 'VTX', 'Detector channel 1 / transmission'),
    ('VTX_Pmt6', '', NULL,  'Detector channel 2'),
    ('VTX_Pmt7', '', NULL,  'Detector channel 3'),
    ('VTX_Pmt8', '', NULL,  'Detector channel 4');

INSERT INTO [Available DIOs] VALUES
    ('REG530', '', 'CANK', 'Digital I/O channel 1'),
    ('REG630', '', 'CANL', 'Digital I/O channel 2'),
    ('REG730', '', 'CANM', 'Digital I/O channel 3'),
    ('REG830', '', 'CANB', 'Digital I/O channel 4');

INSERT INTO [Available DACs] VALUES
    ('DAC511', '', 'CANK', 'Gain channel 1'),
    ('DAC611', '', 'CANL', 'Gain channel 2'),
    ('DAC711', '', 'CANM', 'Gain channel 3'),
    ('DAC811', '', 'CANB', 'Gain channel 4'),
    ('DAC521', '', 'CANK', 'Offset channel 1'),
    ('DAC621', '', 'CANL', 'Offset channel 2'),
    ('DAC721', '', 'CANM', 'Offset channel 3'),
    ('DAC821', '', 'CANB', 'Offset channel 4');

INSERT INTO [Available High Voltage Supplies] VALUES
    ('HVSupply5', '', 'High voltage channel 1'),
    ('HVSupply6', '', 'High voltage channel 2'),
    ('HVSupply7', '', 'High voltage channel 3'),
    ('HVSupply8', '', 'High voltage channel 4');

INSERT INTO [Available Integrators] VALUES
    ('IntegratorD', '', 'Integrator channel 1'),
    ('Integrator6', '', 'Integrator channel 2'),
    ('Integrator7', '', 'Integrator channel 3'),
    ('Integrator8', '', 'Integrator channel 4');

INSERT INTO [Available Interfaces] VALUES
    ('CANA', '',           'PKLS_V1.10', 'CAN Node Lamp'),
    ('CANB', '',           'PKFC_V2.05', 'CAN Node VTX4'),
    ('CANH', 'Dummy',      'PKFW_V1.03', 'CAN Node Filter Wheel'),
    ('CANK', '',           'PKFC_V2.05', 'CAN Node VTX1'),
    ('CANL', '',           'PKFC_V2.05', 'CAN Node VTX2'),
    ('CANM', '',           'PKFC_V2.05', 'CAN Node VTX3');

INSERT INTO [Available Lamps] VALUES
    ('HAL',      '',           'Halogen lamp, transmitted light'),
    ('HAL Refl', 'Do not use', 'Halogen lamp, reflected light'),
    ('HBO',      '',           'Mercury short-arc lamp, reflected light');

INSERT INTO [Available Shutters] VALUES
    ('Transmission Mirror', 'Do not use', 'Mirror into the transmission detector');

INSERT INTO [Available FilterSets] VALUES
    ('VTX_EF5', '', 'CANK', 'Emission filters channel 1'),
    ('VTX_EF6', '', 'CANL', 'Emission filters channel 2'),
    ('VTX_EF7', '', 'CANM', 'Emission filters channel 3'),
    ('VTX_EF8', '', 'CANB', 'Emission filters channel 4'),
    ('VTX_NT1', '', 'CANL', 'Beam splitter cube NT1'),
    ('VTX_NT2', '', 'CANK', 'Beam splitter cube NT2'),
    ('FW1',     '', 'None', 'Filter wheel'),
    ('Transmission Mirror', 'Do not use', 'None', 'Mirror into the transmission detector');

INSERT INTO [Available FilterPlacement] ([ID Available], [Position], [ID Potential], [Not Include]) VALUES
    ('VTX_EF5', 1, 'BP 505-550', 0),
    ('VTX_EF5', 2, 'LP 560', 0),
    ('VTX_EF5', 3, 'None', 0),
    ('VTX_EF6', 1, 'BP 560-615', 0),
    ('VTX_EF6', 2, 'LP 650', 0),
    ('VTX_EF6', 3, 'BP 500-530', 0),
    ('VTX_EF7', 1, 'LP 505', 0),
    ('VTX_EF7', 2, 'BP 575-640', 0),
    ('VTX_EF7', 3, 'None', 0),
    ('VTX_EF8', 1, 'LP 650', 0),
    ('VTX_EF8', 2, 'KP 685', 0),
    ('VTX_EF8', 3, 'None', 0),
    ('VTX_NT1', 1, 'NFT 545', 0),
    ('VTX_NT1', 2, 'NFT 635', 0),
    ('VTX_NT1', 3, 'Plate', 0),
    ('VTX_NT1', 4, 'None', 0),
    ('VTX_NT2', 1, 'NFT 490', 0),
    ('VTX_NT2', 2, 'NFT 565', 0),
    ('VTX_NT2', 3, 'None', 0),
    ('FW1', 1, 'None', 1),
    ('FW1', 2, 'VTX LP680', 0),
    ('FW1', 3, 'FT 488/543', 0),
    ('FW1', 4, 'None', 0),
    ('FW1', 5, 'FT 458/514', 0),
    ('FW1', 6, 'None', 0);

INSERT INTO [Potential Filters] VALUES
    ('FT 488',      'FT',     'FT', 'Main beam splitter 488',           'Halvern',  '4447-21-0488', NULL, 488, NULL, 0),
    ('FT 488/543',  'FT',     'FT', 'Main beam splitter 488/543',       'Halvern',  '4447-21-0543', NULL, NULL, NULL, 0),
    ('FT 458/514',  'FT',     'FT', 'Main beam splitter 458/514',       'Halvern',  '4447-21-0514', NULL, NULL, NULL, 0),
    ('NFT 490',     'FT',     'LP', 'Secondary splitter, edge 490 nm',  'Halvern',  '4447-22-0490', 490, NULL, NULL, 0),
    ('NFT 545',     'FT',     'LP', 'Secondary splitter, edge 545 nm',  'Halvern',  '4447-22-0545', 545, NULL, NULL, 0),
    ('NFT 565',     'FT',     'LP', 'Secondary splitter, edge 565 nm',  'Halvern',  '4447-22-0565', 565, NULL, NULL, 0),
    ('NFT 635',     'FT',     'LP', 'Secondary splitter, edge 635 nm',  'Halvern',  '4447-22-0635', 635, NULL, NULL, 0),
    ('Plate',       'FT',     'GL', 'Plain glass plate',                'Halvern',  '4447-23-0001', NULL, NULL, NULL, 0),
    ('Mirror',      'FT',     'MI', 'Full mirror',                      'Halvern',  '4447-23-0002', NULL, NULL, NULL, 0),
    ('BP 500-530',  'BP-VTX', 'BP', 'Band pass 500-530 nm',             'Halvern',  '4463-31-0530', 500, 515, 530, 0),
    ('BP 505-550',  'BP-VTX', 'BP', 'Band pass 505-550 nm',             'Halvern',  '4463-31-0550', 505, 527.5, 550, 0),
    ('BP 560-615',  'BP-VTX', 'BP', 'Band pass 560-615 nm',             'Halvern',  '4463-31-0615', 560, 587.5, 615, 0),
    ('BP 575-640',  'BP-VTX', 'BP', 'Band pass 575-640 nm',             'Halvern',  '4463-31-0640', 575, 607.5, 640, 0),
    ('BP 650-710',  'BP-VTX', 'BP', 'Band pass 650-710 nm',             'Ostwell Optics', 'OW-BP650', 650, 680, 710, 1),
    ('LP 505',      'LP-VTX', 'LP', 'Long pass 505 nm',                 'Halvern',  '4463-32-0505', 505, NULL, NULL, 0),
    ('LP 560',      'LP-VTX', 'LP', 'Long pass 560 nm',                 'Halvern',  '4463-32-0560', 560, NULL, NULL, 0),
    ('LP 650',      'LP-VTX', 'LP', 'Long pass 650 nm',                 'Halvern',  '4463-32-0650', 650, NULL, NULL, 0),
    ('KP 600',      'KP-VTX', 'KP', 'Short pass 600 nm',                'Halvern',  '4463-33-0600', NULL, NULL, 600, 0),
    ('KP 685',      'KP-VTX', 'KP', 'Short pass 685 nm',                'Halvern',  '4463-33-0685', NULL, NULL, 685, 0),
    ('VTX LP680',   'FW1',    'LP', 'Filter wheel splitter, long pass 680 nm', 'Halvern', '4463-40-0680', 680, NULL, NULL, 0);

INSERT INTO [Favourite Filters] VALUES
    ('BP 505-550', 'BP-VTX'),
    ('LP 560', 'LP-VTX'),
    ('NFT 545', 'FT'),
    ('VTX LP680', 'FW1');
