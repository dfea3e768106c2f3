<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>FormAbout</name>
    <message>
        <source>À propos de %1…</source>
        <translation>About %1…</translation>
    </message>
    <message>
        <source>VELDRIX</source>
        <translation>VELDRIX</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Copyright © 2020 Veldrix</source>
        <translation>Copyright © 2020 Veldrix</translation>
    </message>
    <message>
        <source>Veldrix – BP 42, 99000 Velmont</source>
        <translation>Veldrix – BP 42, 99000 Velmont</translation>
    </message>
    <message>
        <source>Configurateur du module VELDRIX, qui envoie sur le bus CAN les données de son récepteur GPS. Branchez le module sur un port USB, puis cliquez sur Connecter.</source>
        <translation>Configuration tool for the VELDRIX module, which puts the data of its GPS receiver on the CAN bus. Plug the module into a USB port, then click Connect.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Quitter</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Quitter l’application</source>
        <translation>Quit the application</translation>
    </message>
    <message>
        <source>&amp;Français</source>
        <translation>&amp;French</translation>
    </message>
    <message>
        <source>&amp;Anglais</source>
        <translation>&amp;English</translation>
    </message>
    <message>
        <source>À propos de %1…</source>
        <translation>About %1…</translation>
    </message>
    <message>
        <source>&amp;Langue</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>VELDRIX v2.1</source>
        <translation>VELDRIX v2.1</translation>
    </message>
    <message>
        <source>Configurer le GPS</source>
        <translation>Configure the GPS</translation>
    </message>
    <message>
        <source>RAZ le GPS</source>
        <translation>Factory reset</translation>
    </message>
    <message>
        <source>Redémarrer le GPS</source>
        <translation>Restart the GPS</translation>
    </message>
    <message>
        <source>CAN MegaSquirt 3 (RT)</source>
        <translation>CAN MegaSquirt 3 (RT)</translation>
    </message>
    <message>
        <source>Trames position GPS / Vitesse / Altitude</source>
        <translation>GPS position / Speed / Altitude frames</translation>
    </message>
    <message>
        <source>Trames Date/Heure et Infos</source>
        <translation>Date/Time and Info frames</translation>
    </message>
    <message>
        <source>Premier ID</source>
        <translation>First ID</translation>
    </message>
    <message>
        <source>Offset ID</source>
        <translation>ID offset</translation>
    </message>
    <message>
        <source>Période (ms)</source>
        <translation>Period (ms)</translation>
    </message>
    <message>
        <source>CAN Module VELDRIX</source>
        <translation>CAN VELDRIX (own format)</translation>
    </message>
    <message>
        <source>Trame Date/Heure (Fuseau Horaire)</source>
        <translation>Date/Time frame (local time)</translation>
    </message>
    <message>
        <source>Trame Date/Heure (UTC)</source>
        <translation>Date/Time frame (UTC)</translation>
    </message>
    <message>
        <source>Trame Vitesse/Altitude</source>
        <translation>Speed/Altitude frame</translation>
    </message>
    <message>
        <source>Trame Longitude/Latitude</source>
        <translation>Longitude/Latitude frame</translation>
    </message>
    <message>
        <source>Identifiant</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>TrameTemps (HHMMSS)</source>
        <translation>Time frame (HHMMSS)</translation>
    </message>
    <message>
        <source>Trame Precision GPS/infos Satellites</source>
        <translation>GPS precision/satellite info frame</translation>
    </message>
    <message>
        <source>Paramètres CAN</source>
        <translation>CAN settings</translation>
    </message>
    <message>
        <source>Résistance de terminaison</source>
        <translation>Termination resistor</translation>
    </message>
    <message>
        <source>Vitesse du bus CAN</source>
        <translation>CAN bus speed</translation>
    </message>
    <message>
        <source>Paramètres Fuseau Horaire</source>
        <translation>Time zone settings</translation>
    </message>
    <message>
        <source>Heure Eté/Hiver Automatique</source>
        <translation>Automatic daylight saving time</translation>
    </message>
    <message>
        <source>Fuseau Horaire</source>
        <translation>Time zone</translation>
    </message>
    <message>
        <source>Connecter</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>LED Module GPS</source>
        <translation>GPS module LED</translation>
    </message>
    <message>
        <source>Activée</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>Luminosité</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <source>Par rapport au niveau de la mer</source>
        <translation>Above mean sea level</translation>
    </message>
    <message>
        <source>Par rapport à l&apos;ellipsoïde de la terre</source>
        <translation>Above the Earth ellipsoid</translation>
    </message>
    <message>
        <source>CAN ECUmaster</source>
        <translation>CAN ECUmaster</translation>
    </message>
    <message>
        <source>Trame Date/Heure</source>
        <translation>Date/Time frame</translation>
    </message>
    <message>
        <source>Trames position GPS / Altitude / Vitesse / Infos</source>
        <translation>GPS position / Altitude / Speed / Info frames</translation>
    </message>
</context>
</TS>
